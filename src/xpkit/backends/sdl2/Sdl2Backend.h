// The real-window backend: one SDL window per shown form, composed from the controls'
// persistent images and presented whenever an image changed; real input and the host's
// timers run through one message loop that sleeps until the next event or tick. A
// message box is a dialog the program supplies, shown modally over the main window.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "xpkit/host/Backend.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/LoopService.h"
#include "xpkit/platform/Bitmap.h"

union SDL_Event;

namespace xpkit {

class SdlWindow;

class Sdl2Backend : public Backend {
 public:
  // Opens the video subsystem, or throws Error(NoDisplay) with the reason.
  Sdl2Backend();
  ~Sdl2Backend() override;
  Sdl2Backend(const Sdl2Backend&) = delete;
  Sdl2Backend& operator=(const Sdl2Backend&) = delete;

  // Makes the form a message box shows; it closes itself (Form::Close) when answered.
  using MessageBoxMaker =
      std::function<std::unique_ptr<Form>(const std::u16string& text, const std::u16string& caption)>;
  void SetMessageBoxMaker(MessageBoxMaker maker) { messageBoxMaker_ = std::move(maker); }
  // Every client pixel as a scale x scale block; 0 (the default) asks the desktop.
  void SetScale(int scale) { scale_ = scale; }
  // A service with work of its own (the accessibility bridge), served every loop turn
  // and waited for with the window's input; nullptr for none. Without an X11 connection
  // to wait on, the loop wakes every kServicePollMs for it instead.
  void SetLoopService(LoopService* service) { service_ = service; }
  static constexpr int kServicePollMs = 20;

  // The supplied dialog, modal over the main window; SDL's plain one without a maker.
  void ShowMessageBox(const std::u16string& text, const std::u16string& caption) override;
  void EndProgram() override { ended_ = true; }
  void WindowChanged(HWND) override { dirty_ = true; }
  POINT ScreenSize() const override;
  // The client area's place on the screen and the window's scale; the session's place
  // for a form not shown in a window.
  ScreenPlace PlaceOf(const Form& form) const override;

  // How Run ended: the form was closed (by the user, by Form::Close, or on SIGINT or
  // SIGTERM, which SDL turns into a request to quit), the program ended (host.End()), or
  // the window was destroyed from outside the program or the display went away
  // (LostReason() says which).
  enum class RunEnd { Closed, Ended, DisplayLost };
  // Shows `form` (already created, not yet shown) in a real window with `icon` and runs
  // the message loop until the program ends or the form is closed.
  RunEnd Run(Host& host, Form& form, const Bitmap& icon);
  // What was lost, in a line, after Run returned DisplayLost.
  const std::string& LostReason() const { return lostReason_; }
  // Shows `dialog` over the main window, which takes no input meanwhile but still
  // repaints, until the dialog is closed or the program ends. Nothing of a press that
  // opened it stays with the main window (Host::CancelMode). Throws Error(DisplayLost)
  // when a window is destroyed from outside.
  void RunModal(Form& dialog);

 private:
  // Runs the message loop until `done`.
  void Loop(Host& host, const std::function<bool()>& done);
  // The display or a window went away: says so in LostReason() and throws DisplayLost.
  [[noreturn]] void Lose(const char* why);
  void Dispatch(Host& host, const SDL_Event& e);
  void AfterEvents();
  void AdvanceClock(Host& host);

  MessageBoxMaker messageBoxMaker_;
  bool WaitEvent(Host& host, SDL_Event& e);

  LoopService* service_ = nullptr;
  int scale_ = 0;
  Bitmap icon_;
  std::vector<std::unique_ptr<SdlWindow>> windows_;  // the last one takes the input
  std::uint64_t start_ = 0;
  std::int64_t lastTimers_ = 0;
  bool ended_ = false;
  bool dirty_ = true;
  std::string lostReason_;  // empty while the display and the windows are there
};

}  // namespace xpkit
