#include "xpkit/backends/headless/HeadlessDriver.h"

#include "xpkit/codepage/Ascii.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

void HeadlessDriver::Send(const InputMessage& m) {
  host_.Post(m);
  host_.Pump();
}

void HeadlessDriver::MoveTo(int x, int y, std::int16_t shift) {
  POINT p{x, y};
  host_.session().user().ClientToScreen(form_.hWnd(), &p);
  MoveToScreen(p, shift);
}

void HeadlessDriver::MoveToScreen(POINT p, std::int16_t shift) {
  Send({InputMessage::Kind::PointerMove, p.x, p.y, 0, 0, shift});
}

void HeadlessDriver::Hover(const UserControl& control) {
  RECT r{};
  host_.session().user().GetWindowRect(control.hWnd(), &r);
  MoveToScreen({(r.left + r.right - 1) / 2, (r.top + r.bottom - 1) / 2});
}

void HeadlessDriver::Press(const UserControl& control, std::int16_t button) {
  Hover(control);
  Press(button);
}

void HeadlessDriver::Click(const UserControl& control, std::int16_t button) {
  Press(control, button);
  Release(button);
}

void HeadlessDriver::Press(std::int16_t button, std::int16_t shift) {
  Send({InputMessage::Kind::ButtonDown, 0, 0, button, 0, shift});
}

void HeadlessDriver::Release(std::int16_t button, std::int16_t shift) {
  Send({InputMessage::Kind::ButtonUp, 0, 0, button, 0, shift});
}

void HeadlessDriver::Click(int x, int y, std::int16_t button) {
  MoveTo(x, y);
  Press(button);
  Release(button);
}

void HeadlessDriver::KeyDown(std::int16_t key, std::int16_t shift) {
  Send({InputMessage::Kind::KeyDown, 0, 0, 0, key, shift});
}

void HeadlessDriver::KeyUp(std::int16_t key, std::int16_t shift) {
  Send({InputMessage::Kind::KeyUp, 0, 0, 0, key, shift});
}

void HeadlessDriver::Char(std::int16_t ascii) { Send({InputMessage::Kind::Char, 0, 0, 0, ascii, 0}); }

void HeadlessDriver::Key(std::int16_t key, std::int16_t shift) {
  KeyDown(key, shift);
  // With Alt held a key is a system keystroke and types no character.
  const bool types = (shift & vbAltMask) == 0;
  if (types && (key == 32 || key == 13 || (key >= '0' && key <= '9'))) Char(key);
  if (types && key >= 'A' && key <= 'Z') Char((shift & vbShiftMask) ? key : AsciiLower(key));
  KeyUp(key, shift);
}

void HeadlessDriver::PostPress(std::int16_t button) { host_.Post({InputMessage::Kind::ButtonDown, 0, 0, button, 0, 0}); }
void HeadlessDriver::PostRelease(std::int16_t button) { host_.Post({InputMessage::Kind::ButtonUp, 0, 0, button, 0, 0}); }

}  // namespace xpkit
