// What the host needs of the system it runs on: a modal message box, the end of the
// program, the screen, where a form is shown on it, and word that a window's image
// changed.
#pragma once
#include <string>

#include "xpkit/host/Accessible.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Form;

class Backend {
 public:
  virtual ~Backend() = default;
  // Modal: returns when the user has pressed OK.
  virtual void ShowMessageBox(const std::u16string& text, const std::u16string& caption) = 0;
  // Ends the program at once; a backend that cannot stop the process records it.
  virtual void EndProgram() = 0;
  virtual void WindowChanged(HWND) {}
  virtual POINT ScreenSize() const { return {1024, 768}; }
  // Where the form's client area is shown; by default where the session placed its
  // window, at one screen pixel to a pixel.
  virtual ScreenPlace PlaceOf(const Form& form) const;
};

}  // namespace xpkit
