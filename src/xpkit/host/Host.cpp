#include "xpkit/host/Host.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "xpkit/Error.h"
#include "xpkit/codepage/Ascii.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Timer.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {

Host::Host(Backend& backend) : Host(backend, nullptr) {}

Host::Host(Backend& backend, Session& session) : Host(backend, &session) {}

Host::Host(Backend& backend, Session* session)
    : backend_(backend),
      ownSession_(session ? nullptr : std::make_unique<Session>()),
      session_(session ? *session : *ownSession_) {
  redrawListener_ = session_.user().AddRedrawListener([this](HWND hwnd) { backend_.WindowChanged(hwnd); });
}

Host::~Host() { session_.user().RemoveRedrawListener(redrawListener_); }

void Host::Post(const InputMessage& m) { queue_.push_back(m); }

void Host::Pump() {
  while (!queue_.empty() && !ended_) {
    const InputMessage m = queue_.front();
    queue_.pop_front();
    Dispatch(m);
  }
}

void Host::Dispatch(const InputMessage& m) {
  switch (m.kind) {
    case InputMessage::Kind::PointerMove: PointerMove(m); break;
    case InputMessage::Kind::ButtonDown: ButtonDown(m); break;
    case InputMessage::Kind::ButtonUp: ButtonUp(m); break;
    case InputMessage::Kind::KeyDown: KeyDown(m); break;
    case InputMessage::Kind::KeyUp: KeyUp(m); break;
    case InputMessage::Kind::Char: Char(m); break;
  }
}

UserControl* Host::ControlFromWindow(HWND hwnd) const {
  auto it = controls_.find(hwnd);
  return it == controls_.end() ? nullptr : it->second;
}

// The control that mouse input goes to: the one holding the capture, else the one
// under the pointer. A disabled control gets nothing.
UserControl* Host::MouseTarget() const {
  HWND h = session_.user().GetCapture();
  if (!h) {
    POINT p{};
    session_.user().GetCursorPos(&p);
    h = session_.user().WindowFromPoint(p);
  }
  UserControl* c = ControlFromWindow(h);
  return c && TakesInput(*c) ? c : nullptr;
}

UserControl* Host::KeyTarget() const { return focused_ && TakesInput(*focused_) ? focused_ : nullptr; }

// The form that keys go to: the focused control's, else the active one, while enabled.
Form* Host::KeyForm() const {
  Form* f = focused_ ? FormOf(*focused_) : activeForm_;
  return f && session_.user().IsWindowEnabled(f->hWnd()) ? f : nullptr;
}

// A form sees keys itself when it asks to first, or when no control of it has the focus.
bool Host::Previews(const Form& form) const { return form.KeyPreview || !KeyTarget(); }

// A control takes input when its window and its form's window are enabled: a form is
// disabled while a modal dialog of it is open.
bool Host::TakesInput(const UserControl& c) const {
  const Form* f = FormOf(c);
  return c.HostEnabled() && (!f || session_.user().IsWindowEnabled(f->hWnd()));
}

// What the user can act on by key or assistive technology: a control that takes input
// and is shown.
bool Host::Reachable(const UserControl& c) const { return TakesInput(c) && c.Visible(); }

void Host::ScalePoint(const UserControl& c, float& x, float& y) const {
  POINT p{};
  session_.user().GetCursorPos(&p);
  session_.user().ScreenToClient(c.hWnd(), &p);
  x = c.surface().ToScale(p.x);
  y = c.surface().ToScale(p.y);
}

void Host::PointerMove(const InputMessage& m) {
  session_.user().SetCursorPos(m.x, m.y);
  shift_ = m.shift;
  UserControl* c = MouseTarget();
  if (!c) return;
  float x, y;
  ScalePoint(*c, x, y);
  c->OnMouseMove(held_, shift_, x, y);
}

void Host::ButtonDown(const InputMessage& m) {
  shift_ = m.shift;
  const bool firstButton = held_ == 0;
  held_ = static_cast<std::int16_t>(held_ | m.button);
  UserControl* c = MouseTarget();
  if (!c) return;
  if (c->CanGetFocus()) SetFocus(c);
  if (ended_) return;
  POINT at{};
  session_.user().GetCursorPos(&at);
  float x, y;
  ScalePoint(*c, x, y);
  if (m.button == vbLeftButton && c == lastLeftDownOn_ && now_ - lastLeftDown_ <= kDoubleClickMs &&
      std::abs(at.x - lastLeftDownAt_.x) <= kDoubleClickDistance &&
      std::abs(at.y - lastLeftDownAt_.y) <= kDoubleClickDistance) {
    // The second press of a double click arrives as the double-click notification,
    // without the automatic capture; a third press starts afresh.
    lastLeftDownOn_ = nullptr;
    pressed_ = c;
    pressWasDoubleClick_ = true;
    c->OnDblClick();
    return;
  }
  if (m.button == vbLeftButton) {
    lastLeftDown_ = now_;
    lastLeftDownAt_ = at;
    lastLeftDownOn_ = c;
  }
  if (firstButton) {
    pressed_ = c;
    pressWasDoubleClick_ = false;
  }
  session_.user().SetCapture(c->hWnd());
  c->OnMouseDown(m.button, shift_, x, y);
}

void Host::ButtonUp(const InputMessage& m) {
  shift_ = m.shift;
  held_ = static_cast<std::int16_t>(held_ & ~m.button);
  UserControl* c = MouseTarget();
  if (c) {
    float x, y;
    ScalePoint(*c, x, y);
    c->OnMouseUp(m.button, shift_, x, y);
    POINT p{};
    session_.user().GetCursorPos(&p);
    // A click needs the press and the release on the control.
    if (!ended_ && held_ == 0 && c == pressed_ && !pressWasDoubleClick_ && session_.user().WindowFromPoint(p) == c->hWnd())
      c->OnClick();
  }
  if (held_ == 0) {
    session_.user().ReleaseCapture();
    pressed_ = nullptr;
  }
}

void Host::KeyDown(const InputMessage& m) {
  shift_ = m.shift;
  eatenChar_ = 0;
  if (m.key == vbKeyTab) {
    MoveFocus((m.shift & vbShiftMask) != 0);
    return;
  }
  std::int16_t key = m.key, shift = m.shift;
  Form* form = KeyForm();
  if (form && Previews(*form)) {
    form->KeyDown.Raise(key, shift);
    if (key == 0 || ended_) return;
  }
  if (shift & vbAltMask) {
    if (key == vbKeyF4 && form) {
      RequestClose(*form);
      return;
    }
    const char16_t ch = AsciiLower(static_cast<char16_t>(key));
    if (UserControl* owner = AccessKeyOwner(ch)) {
      if (owner->CanGetFocus()) SetFocus(owner);
      if (!ended_) owner->OnAccessKeyPress(static_cast<std::int16_t>(ch));
      return;
    }
  } else if (form && PressDialogButton(*form, key)) {
    return;
  }
  if (UserControl* c = KeyTarget()) c->OnKeyDown(key, shift);
}

// Enter for the default button (unless the focused control takes Enter itself), Escape
// for the cancel button: the button hears it as its access key, and the key's character
// goes nowhere.
bool Host::PressDialogButton(Form& form, std::int16_t key) {
  UserControl* button = nullptr;
  if (key == vbKeyReturn && !(KeyTarget() && KeyTarget()->HandlesEnter())) button = form.DefaultButton;
  if (key == vbKeyEscape) button = form.CancelButton;
  if (!button || !Reachable(*button)) return false;
  eatenChar_ = key;
  button->OnAccessKeyPress(key);
  return true;
}

void Host::KeyUp(const InputMessage& m) {
  shift_ = m.shift;
  if (m.key == vbKeyTab) return;
  std::int16_t key = m.key, shift = m.shift;
  if (Form* form = KeyForm(); form && Previews(*form)) {
    form->KeyUp.Raise(key, shift);
    if (key == 0 || ended_) return;
  }
  if (UserControl* c = KeyTarget()) c->OnKeyUp(key, shift);
}

void Host::Char(const InputMessage& m) {
  std::int16_t ascii = m.key;
  if (std::exchange(eatenChar_, 0) == ascii) return;
  if (Form* form = KeyForm(); form && Previews(*form)) {
    form->KeyPress.Raise(ascii);
    if (ascii == 0 || ended_) return;
  }
  if (UserControl* c = KeyTarget()) c->OnKeyPress(ascii);
}

UserControl* Host::AccessKeyOwner(char16_t ch) const {
  for (const auto& [hwnd, c] : controls_) {
    (void)hwnd;
    if (Reachable(*c) && c->AccessKeys().find(ch) != std::u16string::npos) return c;
  }
  return nullptr;
}

std::vector<UserControl*> Host::TabOrder(const Form* only) const {
  std::vector<UserControl*> order;
  for (Form* f : forms_) {
    if (only && f != only) continue;
    // TakesInput, with the form known: no walk up from every control of a deep pile.
    if (!session_.user().IsWindowEnabled(f->hWnd())) continue;
    f->ForEachControl([&](UserControl& c, int) {
      if (c.CanGetFocus() && c.TabStop && c.Visible() && c.HostEnabled()) order.push_back(&c);
      return true;
    });
  }
  std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->TabIndex < b->TabIndex; });
  return order;
}

void Host::MoveFocus(bool backward) {
  const auto order = TabOrder();
  if (order.empty()) return;
  const auto n = static_cast<long>(order.size());
  const auto it = std::find(order.begin(), order.end(), focused_);
  long i = it == order.end() ? (backward ? 0 : -1) : it - order.begin();
  i = backward ? (i - 1 + n) % n : (i + 1) % n;
  SetFocus(order[static_cast<std::size_t>(i)]);
}

void Host::SetFocus(UserControl* control) {
  if (control == focused_) return;
  UserControl* old = focused_;
  focused_ = control;
  if (control)
    if (Form* f = FormOf(*control)) f->SetLastFocus(control);
  if (old) old->OnLostFocus();
  if (control && !ended_) control->OnGotFocus();
  if (focused_ == control) NotifyObservers(&HostObserver::FocusChanged, old, control);
}

void Host::Activate(Form& form) {
  SetActiveForm(&form);
  if (!session_.user().IsWindowEnabled(form.hWnd())) return;
  if (focused_ && FormOf(*focused_) == &form) return;
  UserControl* next = form.LastFocus();
  if (!next || !next->CanGetFocus() || !Reachable(*next)) {
    const auto order = TabOrder(&form);
    next = order.empty() ? nullptr : order.front();
  }
  // With nothing of the form to focus, no control keeps it: keys go to the form.
  SetFocus(next);
}

void Host::SendKeys(std::u16string_view keys) {
  static constexpr std::pair<std::u16string_view, std::int16_t> kNamed[] = {
      {u"TAB", 9}, {u"ENTER", 13}, {u"ESC", 27}, {u"LEFT", 37}, {u"UP", 38}, {u"RIGHT", 39}, {u"DOWN", 40}};
  std::int16_t shift = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const char16_t ch = keys[i];
    if (ch == u'+') { shift |= 1; continue; }
    if (ch == u'^') { shift |= 2; continue; }
    if (ch == u'%') { shift |= 4; continue; }
    std::int16_t code;
    std::int16_t character = 0;
    if (ch == u'{') {
      const std::size_t close = keys.find(u'}', i);
      if (close == std::u16string_view::npos) throw Error(ErrorCode::InvalidProcedureCall, "SendKeys: missing '}'");
      std::u16string name(keys.substr(i + 1, close - i - 1));
      for (auto& c : name) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
      const auto it = std::find_if(std::begin(kNamed), std::end(kNamed), [&](const auto& k) { return k.first == name; });
      if (it == std::end(kNamed)) throw Error(ErrorCode::InvalidProcedureCall, "SendKeys: unknown key name");
      code = it->second;
      i = close;
    } else if (ch == u'~') {
      code = 13;
    } else {
      character = static_cast<std::int16_t>(ch);
      code = static_cast<std::int16_t>(ch >= u'a' && ch <= u'z' ? ch - 32 : ch);
    }
    Post({InputMessage::Kind::KeyDown, 0, 0, 0, code, shift});
    if (character) Post({InputMessage::Kind::Char, 0, 0, 0, character, shift});
    Post({InputMessage::Kind::KeyUp, 0, 0, 0, code, shift});
    shift = 0;
  }
}

void Host::AdvanceClock(std::int64_t ms) {
  const std::int64_t end = now_ + std::max<std::int64_t>(ms, 0);
  while (!ended_) {
    const std::int64_t next = NextTimerDue();
    if (next < 0 || next > end) break;
    now_ = std::max(now_, next);
    // By index: a tick may add or remove timers, and a fired timer is no longer due.
    for (std::size_t i = 0; i < timers_.size() && !ended_; ++i)
      if (timers_[i]->Due(now_)) timers_[i]->Fire(now_);
    Pump();
  }
  now_ = std::max(now_, end);
}

std::int64_t Host::NextTimerDue() const {
  std::int64_t best = -1;
  for (const Timer* t : timers_)
    if (t->Enabled() && t->Interval() > 0 && (best < 0 || t->due() < best)) best = t->due();
  return best;
}

void Host::MsgBox(const std::u16string& text, const std::u16string& caption) {
  CancelMode();
  backend_.ShowMessageBox(text, caption.empty() ? AppTitle : caption);
}

bool Host::RequestClose(Form& form) {
  bool cancel = false;
  form.Closing.Raise(cancel);
  if (cancel || ended_) return false;
  form.Close();
  return true;
}

void Host::CancelMode() {
  session_.user().ReleaseCapture();
  held_ = 0;
  pressed_ = nullptr;
  pressWasDoubleClick_ = false;
  lastLeftDownOn_ = nullptr;
}

void Host::End() {
  ended_ = true;
  queue_.clear();
  backend_.EndProgram();
}

void Host::AddObserver(HostObserver& observer) { observers_.push_back(&observer); }
void Host::RemoveObserver(HostObserver& observer) { std::erase(observers_, &observer); }

void Host::SetActiveForm(Form* form) {
  if (form == activeForm_) return;
  Form* old = activeForm_;
  activeForm_ = form;
  if (old) NotifyObservers(&HostObserver::FormActivated, *old, false);
  if (form) NotifyObservers(&HostObserver::FormActivated, *form, true);
}

void Host::DoAccessibleAction(UserControl& control, int index) {
  if (!ended_ && Reachable(control)) control.OnAccessibleAction(index);
}

void Host::RegisterForm(Form& f) { forms_.push_back(&f); }
void Host::ForgetForm(Form& f) {
  std::erase(forms_, &f);
  if (activeForm_ == &f) activeForm_ = nullptr;
  NotifyObservers(&HostObserver::FormForgotten, f);
}
void Host::RegisterControl(UserControl& c) { controls_[c.hWnd()] = &c; }

void Host::ForgetControl(UserControl& c) {
  NotifyObservers(&HostObserver::ControlForgotten, c);
  controls_.erase(c.hWnd());
  if (focused_ == &c) focused_ = nullptr;
  for (Form* f : forms_)
    if (f->LastFocus() == &c) f->SetLastFocus(nullptr);
  if (pressed_ == &c) pressed_ = nullptr;
  if (lastLeftDownOn_ == &c) lastLeftDownOn_ = nullptr;
}

void Host::RegisterTimer(Timer* t) { timers_.push_back(t); }
void Host::UnregisterTimer(Timer* t) { std::erase(timers_, t); }

}  // namespace xpkit
