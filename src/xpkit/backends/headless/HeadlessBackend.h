// The backend without a display: message boxes are recorded and written to standard
// error, the end of the program is recorded, and input comes from a driver.
#pragma once
#include <string>
#include <vector>

#include "xpkit/host/Backend.h"
#include "xpkit/host/Host.h"

namespace xpkit {

class Form;

class HeadlessBackend : public Backend {
 public:
  struct MessageBoxRecord {
    std::u16string text, caption;
  };
  void ShowMessageBox(const std::u16string& text, const std::u16string& caption) override;
  void EndProgram() override { ended = true; }

  std::vector<MessageBoxRecord> messageBoxes;
  bool ended = false;
  bool echoToStderr = true;
};

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
