// The program's window: built from its stored layout (the compiled-in default, or a file
// the user names), with the banners, the separator line and the Exit button; a click of
// cmdExit ends the program at once.
#pragma once
#include <string>
#include <vector>

#include "controls/button/XPButton.h"
#include "controls/header/XPHeader.h"
#include "host/Form.h"
#include "shell/Layout.h"

namespace xpkit {

// The layout the program ships with.
Layout DefaultLayout();

class frmMain : public Form {
 public:
  // Creates the window's controls in stored order; a fault in the layout (an unknown
  // class, a stored value of the wrong type) is a LayoutError at the control's line.
  frmMain(Host& host, const Layout& layout);

  // Null when the layout has no such control.
  XPHeader* Header = nullptr;
  XPHeader* Footer = nullptr;
  XPButton* cmdExit = nullptr;
  LineShape* Line1 = nullptr;

  // The window as it stands, every control's property set written by its own save.
  Layout SaveLayout() const;

 private:
  struct Created {
    UserControl* control = nullptr;
    LineShape* line = nullptr;
    std::string parent;
  };
  void Create(const Layout& layout, const ControlLayout& c);
  void Create(const Layout& layout, const LineLayout& l);
  Container& ParentOf(const Layout& layout, const std::string& name, int line);

  WindowLayout window_;
  std::vector<Created> created_;
};

}  // namespace xpkit
