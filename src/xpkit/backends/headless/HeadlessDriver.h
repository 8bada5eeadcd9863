// Scripted input for a form on a host: what a user's mouse and keyboard would send.
#pragma once
#include <cstdint>

#include "xpkit/host/Host.h"

namespace xpkit {

class Form;

// Scripted input for a form: positions are in the form's client pixels.
class HeadlessDriver {
 public:
  HeadlessDriver(Host& host, const Form& form) : host_(host), form_(form) {}
  void MoveTo(int x, int y, std::int16_t shift = 0);
  void Press(std::int16_t button = 1, std::int16_t shift = 0);
  void Release(std::int16_t button = 1, std::int16_t shift = 0);
  void Click(int x, int y, std::int16_t button = 1);
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
  Host& host_;
  const Form& form_;
};

}  // namespace xpkit
