// The program's window: built from its stored layout (the compiled-in default, or a file
// the user names), with the banners, the separator line and the Exit button; a click of
// cmdExit ends the program at once.
#pragma once

#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/header/XPHeader.h"
#include "xpkit/layout/LayoutForm.h"

namespace xpkit {

// The layout the program ships with.
Layout DefaultLayout();

class frmMain : public LayoutForm {
 public:
  frmMain(Host& host, const Layout& layout);

  // Null when the layout has no such control.
  XPHeader* Header = nullptr;
  XPHeader* Footer = nullptr;
  XPButton* cmdExit = nullptr;
  LineShape* Line1 = nullptr;
};

}  // namespace xpkit
