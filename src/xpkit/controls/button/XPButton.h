// The XP-style command button: a pale gradient face in a dark blue frame with softened
// corners, an orange glow under the pointer, a blue glow with the focus, a flat darker
// face while pressed and a flat grey look while disabled. The painting lives in
// detail/XPButtonPainter, the behaviour and properties in XPButton.cpp.
#pragma once
#include <cstdint>
#include <string>

#include "xpkit/host/Event.h"
#include "xpkit/host/PropertyTable.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/VbTypes.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class XPButton : public UserControl {
 public:
  static constexpr const char* kClassId = "Morvel.XPButton";
  // It draws, and places any control put inside it, in pixels.
  static constexpr int kScaleMode = vbPixels;

  // Properties; each write runs its steps (repaint, access key, change notice).
  bool Enabled() const { return enabled_ != 0; }
  void SetEnabled(bool v);
  FontRef Font() const { return surface().Font(); }
  void SetFont(FontRef v);
  std::u16string Caption() const { return caption_; }
  void SetCaption(const std::u16string& v);
  OLE_COLOR ForeColor() const { return surface().ForeColor(); }
  void SetForeColor(OLE_COLOR v);
  OLE_COLOR ForeHover() const { return foreHover_; }
  void SetForeHover(OLE_COLOR v);

  // The stored properties: "Enabled", "Font", "Caption", "ForeColor" and "ForeHover".
  static const PropertyTable<XPButton, 5>& Properties();

  // Events; every parameter by reference.
  Event<> Click;
  Event<std::int16_t, std::int16_t, float, float> MouseDown;
  Event<std::int16_t, std::int16_t, float, float> MouseMove;
  Event<std::int16_t, std::int16_t, float, float> MouseUp;
// Xlib defines KeyPress as a macro; set it aside so this header compiles after Xlib's.
#pragma push_macro("KeyPress")
#undef KeyPress
  Event<std::int16_t> KeyPress;
#pragma pop_macro("KeyPress")
  Event<std::int16_t, std::int16_t> KeyDown;
  Event<std::int16_t, std::int16_t> KeyUp;
  Event<> MouseOver;
  Event<> MouseOut;

  // Read-only views of the state, for tests and tools.
  std::int16_t pressButton() const { return pressButton_; }
  const Timer& hoverTimer() const { return *hoverTimer_; }

  void OnInitialize() override;
  void OnInitProperties() override;
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) override;
  void OnResize() override;
  void OnShow() override;
  void OnGotFocus() override;
  void OnLostFocus() override;
  void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnClick() override;
  void OnDblClick() override;
  void OnKeyDown(std::int16_t keyCode, std::int16_t shift) override;
  void OnKeyUp(std::int16_t keyCode, std::int16_t shift) override;
  void OnKeyPress(std::int16_t keyAscii) override;
  void OnAccessKeyPress(std::int16_t keyAscii) override;
  bool HandlesEnter() const override { return true; }
  // A push button named by its caption, its access key as key binding, and one action,
  // "click", which clicks it as the mouse does.
  Accessible Describe() const override;
  void OnAccessibleAction(int index) override;

 private:
  friend class XPButtonPainter;  // draws the looks from the state below

  // Draws the look the state selects (detail/XPButtonPainter).
  void Repaint(std::int16_t pressed);
  bool IsPointerOver() const;
  void HoverTimerTick();
  void UpdateAccessKey();

  RECT clientRect_{};
  std::int32_t regionWidth_ = 0;
  std::int32_t regionHeight_ = 0;
  VBBool isOver_ = VbFalse;
  std::int16_t moveNoted_ = 0;
  VBBool hasFocus_ = VbFalse;
  std::int16_t pressButton_ = 0;
  std::int16_t lastKeyCode_ = 0;
  std::int32_t edgeRight_ = 0;
  std::int32_t edgeLeft_ = 0;
  std::int32_t edgeTop_ = 0;
  std::int32_t edgeBottom_ = 0;
  VBBool enabled_ = VbFalse;
  std::u16string caption_;
  OLE_COLOR foreHover_ = 0;
  Timer* hoverTimer_ = nullptr;
};

}  // namespace xpkit
