// Scripted input for a form on a host: what a user's mouse and keyboard would send.
#pragma once
#include <cstdint>

#include "xpkit/host/Host.h"

namespace xpkit {

class Form;
class UserControl;

// Scripted input for a form: positions are in the form's client pixels, or a control's
// middle pixel.
class HeadlessDriver {
 public:
  HeadlessDriver(Host& host, Form& form) : host_(host), form_(form) {}
  void MoveTo(int x, int y, std::int16_t shift = 0);
  void Press(std::int16_t button = 1, std::int16_t shift = 0);
  void Release(std::int16_t button = 1, std::int16_t shift = 0);
  void Click(int x, int y, std::int16_t button = 1);
  // The pointer to the control's middle; then a press there; then a press and release.
  void Hover(const UserControl& control);
  void Press(const UserControl& control, std::int16_t button = 1);
  void Click(const UserControl& control, std::int16_t button = 1);
  // The form's window becomes the active one (Host::Activate), as when it is first
  // shown in a real window.
  void Activate() { host_.Activate(form_); }
  // The user closes the window, as with its close box (Host::RequestClose).
  void Close() { host_.RequestClose(form_); }
  void KeyDown(std::int16_t key, std::int16_t shift = 0);
  void KeyUp(std::int16_t key, std::int16_t shift = 0);
  void Char(std::int16_t ascii);
  // Key down, character (for a printable key), key up.
  void Key(std::int16_t key, std::int16_t shift = 0);
  void Advance(std::int64_t ms) { host_.AdvanceClock(ms); }
  // Posts without pumping, so that a handler's DoEvents can meet the message.
  void PostPress(std::int16_t button = 1);
  void PostRelease(std::int16_t button = 1);

 private:
  void Send(const InputMessage& m);
  void MoveToScreen(POINT p, std::int16_t shift = 0);
  Host& host_;
  Form& form_;
};

}  // namespace xpkit
