// The backend without a display: message boxes are recorded and written to standard
// error, the end of the program is recorded, and input comes from a driver.
#pragma once
#include <string>
#include <vector>

#include "xpkit/host/Backend.h"

namespace xpkit {

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

}  // namespace xpkit
