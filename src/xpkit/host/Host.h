// The control host: forms and their controls, the message queue that input arrives
// through, the clock and timers, focus and tab order, access keys, send keys, mouse
// capture and click detection, the modal message box and the end of the program.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xpkit/host/Backend.h"
#include "xpkit/host/Event.h"
#include "xpkit/host/HostObserver.h"
#include "xpkit/platform/Session.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Form;
class Timer;
class UserControl;

struct InputMessage {
  enum class Kind { PointerMove, ButtonDown, ButtonUp, KeyDown, KeyUp, Char };
  Kind kind;
  int x = 0, y = 0;          // PointerMove: screen position
  std::int16_t button = 0;   // ButtonDown/Up: vbLeftButton, vbRightButton or vbMiddleButton
  std::int16_t key = 0;      // KeyDown/Up: key code; Char: character code
  std::int16_t shift = 0;    // vbShiftMask | vbCtrlMask | vbAltMask
};

// Key codes of the keys the kit's controls and tests speak of.
constexpr std::int16_t vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeySpace = 32,
                       vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyF4 = 115;
constexpr int kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 2;  // pixels either way

class Host {
 public:
  // A host with a session of its own, in the system ANSI code page.
  explicit Host(Backend& backend);
  // A host drawing in `session`, which its owner keeps alive for the host's life.
  Host(Backend& backend, Session& session);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  Backend& backend() const { return backend_; }
  Session& session() const { return session_; }
  std::u16string AppTitle = u"xpkit";

  // Input: posted messages run in order, from Pump() or from a handler's DoEvents().
  void Post(const InputMessage& m);
  void Pump();
  void DoEvents() { Pump(); }

  // Time: the host's clock in milliseconds, advanced by the backend or by a test.
  std::int64_t Now() const { return now_; }
  // Moves the clock forward, firing every timer tick that falls due on the way.
  void AdvanceClock(std::int64_t ms);
  // The earliest due time of an enabled timer, or -1.
  std::int64_t NextTimerDue() const;

  UserControl* Focused() const { return focused_; }
  void SetFocus(UserControl* control);
  // The form's window became the active one: unless a control of it has the focus, the
  // one that had it last gets it back, else its first tab stop, else none. A disabled
  // form (the owner of an open dialog) becomes the active one but its focus is left as
  // it is.
  void Activate(Form& form);
  Form* ActiveForm() const { return activeForm_; }
  // "{Tab}" and "+{Tab}" (and plain characters) are posted as keystrokes.
  void SendKeys(std::u16string_view keys);

  // Modal message box with an OK button and the exclamation icon; the caption defaults
  // to the application's title. The box takes the mouse over (CancelMode).
  void MsgBox(const std::u16string& text, const std::u16string& caption = {});
  // Ends the program at once: no notification reaches a window or control.
  void End();
  bool Ended() const { return ended_; }
  // The user asks to close the form's window: raises its Closing and closes it unless a
  // handler refused. Whether it closed.
  bool RequestClose(Form& form);
  // A modal window takes the mouse over: the capture is released and the buttons held
  // and the press forgotten, so that nothing of the press that opened it is left.
  void CancelMode();

  // A control's property changed: raised with the control and the property's name, for
  // whoever keeps a window's layout in step (nothing is kept here).
  Event<UserControl*, std::string_view> PropertyChanged;

  UserControl* ControlFromWindow(HWND hwnd) const;

  // Observers hear of forms shown, activated and destroyed, controls added and destroyed,
  // and focus moves; the observer stays alive while it is added.
  void AddObserver(HostObserver& observer);
  void RemoveObserver(HostObserver& observer);
  template <class... Params, class... Args>
  void NotifyObservers(void (HostObserver::*call)(Params...), Args&&... args) {
    if (observers_.empty()) return;
    for (HostObserver* o : std::vector<HostObserver*>(observers_)) (o->*call)(args...);
  }
  // The backend's word that `form`'s window has the keyboard focus (nullptr: none has).
  void SetActiveForm(Form* form);
  // Runs a control's accessible action (its Describe().actions[index]) as the user's
  // input would: not while the control, or its form under a modal dialog, is disabled.
  void DoAccessibleAction(UserControl& control, int index);

  // Registration, for forms, controls and timers themselves.
  void RegisterForm(Form& f);
  void ForgetForm(Form& f);
  void RegisterControl(UserControl& c);
  void ForgetControl(UserControl& c);
  void RegisterTimer(Timer* t);
  void UnregisterTimer(Timer* t);

 private:
  Host(Backend& backend, Session* session);
  void Dispatch(const InputMessage& m);
  void PointerMove(const InputMessage& m);
  void ButtonDown(const InputMessage& m);
  void ButtonUp(const InputMessage& m);
  void KeyDown(const InputMessage& m);
  void KeyUp(const InputMessage& m);
  void Char(const InputMessage& m);
  UserControl* MouseTarget() const;
  UserControl* KeyTarget() const;
  Form* KeyForm() const;
  bool Previews(const Form& form) const;
  bool PressDialogButton(Form& form, std::int16_t key);
  bool TakesInput(const UserControl& c) const;
  bool Reachable(const UserControl& c) const;
  void MoveFocus(bool backward);
  UserControl* AccessKeyOwner(char16_t ch) const;
  // The tab stops of every enabled form, or of `only`.
  std::vector<UserControl*> TabOrder(const Form* only = nullptr) const;
  void ScalePoint(const UserControl& c, float& x, float& y) const;

  Backend& backend_;
  std::unique_ptr<Session> ownSession_;  // when the host made its own
  Session& session_;
  int redrawListener_ = 0;
  std::deque<InputMessage> queue_;
  std::int64_t now_ = 0;
  std::vector<Timer*> timers_;
  std::vector<Form*> forms_;
  std::map<HWND, UserControl*> controls_;
  UserControl* focused_ = nullptr;
  Form* activeForm_ = nullptr;
  std::int16_t eatenChar_ = 0;  // the character of a key a dialog button took
  std::int16_t held_ = 0;  // mouse buttons down
  std::int16_t shift_ = 0;
  UserControl* pressed_ = nullptr;  // where the buttons went down
  bool pressWasDoubleClick_ = false;
  std::int64_t lastLeftDown_ = -1000000;
  POINT lastLeftDownAt_{};
  UserControl* lastLeftDownOn_ = nullptr;
  bool ended_ = false;
  std::vector<HostObserver*> observers_;
};

}  // namespace xpkit
