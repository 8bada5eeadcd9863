// What a message box shows above its button: the exclamation icon and the text, wrapped
// into the width the dialog gave it. It takes no focus.
#pragma once
#include <string>

#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

class MsgBoxBody : public UserControl {
 public:
  // Where the icon and the text go, in the body's pixels; the text in the system code page.
  void SetContent(POINT iconAt, const RECT& textRect, std::string ansiText);
  bool CanGetFocus() const override { return false; }
  // A label whose name is the message, as the box shows it.
  Accessible Describe() const override;
  void OnInitialize() override;
  void OnResize() override { Paint(); }
  void OnShow() override { Paint(); }

 private:
  void Paint();
  Bitmap icon_;  // drawn once, at creation
  POINT iconAt_{};
  RECT textRect_{};
  std::string text_;
};

}  // namespace xpkit
