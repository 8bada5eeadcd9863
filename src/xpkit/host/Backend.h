// What the host needs of the system it runs on: a modal message box, the end of the
// program, the screen, and word that a window's image changed.
#pragma once
#include <string>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Backend {
 public:
  virtual ~Backend() = default;
  // Modal: returns when the user has pressed OK.
  virtual void ShowMessageBox(const std::u16string& text, const std::u16string& caption) = 0;
  // Ends the program at once; a backend that cannot stop the process records it.
  virtual void EndProgram() = 0;
  virtual void WindowChanged(HWND) {}
  virtual POINT ScreenSize() const { return {1024, 768}; }
};

}  // namespace xpkit
