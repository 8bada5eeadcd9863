// The kit's message box: a small modal tool dialog with the exclamation icon, the text
// wrapped as the platform's message box wraps it (Tahoma 8 pt), and an OK button that
// has the focus. OK (clicked, or Enter or Space), Escape and the close box close it.
#pragma once
#include <string>

#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/msgbox/MsgBoxBody.h"
#include "xpkit/host/Form.h"

namespace xpkit {

class frmMsgBox : public Form {
 public:
  frmMsgBox(Host& host, const std::u16string& text, const std::u16string& caption);
  // Gives the focus back to the control that had it.
  ~frmMsgBox() override;

  // An alert named by its caption, its message as description, so that it is announced
  // with its text.
  Accessible Describe() const override;

  MsgBoxBody* Body = nullptr;
  XPButton* cmdOK = nullptr;

  // Where the parts go for a text: the client size, the icon, the wrapped text and the
  // button, in pixels.
  struct Arrangement {
    int width = 0, height = 0;
    POINT icon{};
    RECT text{};
    RECT button{};
  };
  static Arrangement Arrange(Host& host, const std::string& ansiText);

 private:
  frmMsgBox(Host& host, const std::u16string& caption, std::string ansiText, const Arrangement& arrangement);
  UserControl* previousFocus_ = nullptr;
};

}  // namespace xpkit
