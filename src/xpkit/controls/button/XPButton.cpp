// The button's behaviour: pointer tracking with the hover timer, mouse and keyboard
// presses, focus, access keys, its properties and how they are stored.
#include "xpkit/controls/button/XPButton.h"

#include "xpkit/codepage/Ascii.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

namespace {

constexpr std::string_view kEnabled = "Enabled", kFont = "Font", kCaption = "Caption", kForeColor = "ForeColor",
                           kForeHover = "ForeHover";

}  // namespace

void XPButton::OnInitialize() {
  surface().SetBackColor(0x80000005);  // window colour
  surface().SetForeColor(0x80000006);  // window frame
  hoverTimer_ = &AddTimer();
  hoverTimer_->SetInterval(1);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetTickHandler([this] { HoverTimerTick(); });
}

// ---- Pointer ----

bool XPButton::IsPointerOver() const {
  const User& user = session().user();
  POINT p;
  user.GetCursorPos(&p);
  return user.WindowFromPoint(p) == hWnd();
}

void XPButton::OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  if (button < 2) {
    if (!IsPointerOver()) {
      if (moveNoted_ == 0) return;
      Repaint(0);
    } else {
      if (moveNoted_ == 1) return;
      moveNoted_ = 1;
      if (button == 0 && isOver_ == VbFalse) {
        hoverTimer_->SetEnabled(true);
        isOver_ = VbTrue;
        moveNoted_ = 0;
        Repaint(0);
        MouseOver.Raise();
      } else if (button == 1) {
        isOver_ = VbTrue;
        Repaint(1);
        isOver_ = VbFalse;
      }
    }
  }
  MouseMove.Raise(button, shift, x, y);
}

void XPButton::HoverTimerTick() {
  if (IsPointerOver()) return;
  hoverTimer_->SetEnabled(false);
  isOver_ = VbFalse;
  moveNoted_ = 0;
  Repaint(0);
  MouseOut.Raise();
}

// ---- Mouse buttons ----

void XPButton::OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  if (enabled_ != VbTrue) return;
  MouseDown.Raise(button, shift, x, y);
  pressButton_ = button;
  Refresh();
  host().DoEvents();
  Repaint(1);
}

void XPButton::OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  MouseUp.Raise(button, shift, x, y);
  Repaint(0);
  Refresh();
}

void XPButton::OnClick() {
  if (pressButton_ != 1) return;
  Repaint(0);
  Refresh();
  Click.Raise();
}

void XPButton::OnDblClick() {
  if (pressButton_ != 1) return;
  OnMouseDown(1, 0, 0.0f, 0.0f);
  session().user().SetCapture(hWnd());
}

// ---- Keyboard ----

void XPButton::OnKeyDown(std::int16_t keyCode, std::int16_t shift) {
  lastKeyCode_ = keyCode;
  if (keyCode == vbKeySpace || keyCode == vbKeyReturn)
    Repaint(1);
  else if (keyCode == vbKeyLeft || keyCode == vbKeyRight)
    host().SendKeys(u"{Tab}");
  else if (keyCode == vbKeyDown || keyCode == vbKeyUp)
    host().SendKeys(u"+{Tab}");
  KeyDown.Raise(keyCode, shift);
}

void XPButton::OnKeyUp(std::int16_t keyCode, std::int16_t shift) {
  if ((keyCode == vbKeyReturn && lastKeyCode_ == vbKeyReturn) || (keyCode == vbKeySpace && lastKeyCode_ == vbKeySpace)) {
    Repaint(0);
    pressButton_ = 1;
    Refresh();
    Click.Raise();
  }
  KeyUp.Raise(keyCode, shift);
}

void XPButton::OnKeyPress(std::int16_t keyAscii) { KeyPress.Raise(keyAscii); }

void XPButton::OnAccessKeyPress(std::int16_t) {
  pressButton_ = 1;
  OnClick();
}

// ---- Accessibility ----

Accessible XPButton::Describe() const {
  Accessible a;
  a.role = AccessibleRole::PushButton;
  a.name = WithoutAccessMark(caption_);
  a.keyBinding = AccessKeyBinding(AccessKeys());
  a.actions = {"click"};
  return a;
}

// "click" presses the button as its access key does.
void XPButton::OnAccessibleAction(int index) {
  if (index == 0 && enabled_ == VbTrue) OnAccessKeyPress(0);
}

// ---- Focus, size, show ----

void XPButton::OnGotFocus() {
  hasFocus_ = VbTrue;
  if (enabled_ != VbTrue) return;
  pressButton_ = 1;
  Refresh();
  Repaint(0);
}

void XPButton::OnLostFocus() {
  hasFocus_ = VbFalse;
  Repaint(0);
}

void XPButton::OnResize() {
  session().user().GetClientRect(hWnd(), &clientRect_);
  edgeRight_ = CheckedAdd(clientRect_.right, -1);
  edgeLeft_ = clientRect_.left;
  edgeTop_ = clientRect_.top;
  edgeBottom_ = clientRect_.bottom;
  regionWidth_ = clientRect_.right;
  regionHeight_ = clientRect_.bottom;
  Repaint(0);
}

void XPButton::OnShow() { Repaint(0); }

// ---- Access key ----

// The character after the first single "&" is the key. A doubled first "&" stands for
// a literal one, and then only the next "&" is looked at; a third is never examined.
void XPButton::UpdateAccessKey() {
  SetAccessKeys(u"");
  const std::u16string& c = caption_;
  if (c.size() <= 1) return;
  const std::size_t a = c.find(u'&');
  if (a == std::u16string::npos || a + 1 == c.size()) return;
  auto lower = [](char16_t ch) { return std::u16string(1, AsciiLower(ch)); };
  if (c[a + 1] != u'&') {
    SetAccessKeys(lower(c[a + 1]));
    return;
  }
  const std::size_t b = c.find(u'&', a + 2);
  if (b == std::u16string::npos || b + 1 == c.size() || c[b + 1] == u'&') return;
  SetAccessKeys(lower(c[b + 1]));
}

// ---- Properties ----

const PropertyTable<XPButton, 5>& XPButton::Properties() {
  static constexpr PropertyTable<XPButton, 5> kTable{{{
      Field<XPButton, [](auto& b) -> auto& { return b.enabled_; }, kConstant<VbTrue>>(kEnabled),
      Property<XPButton, [](const XPButton& b) { return b.surface().Font(); },
               [](XPButton& b, FontRef v) { b.surface().SetFont(std::move(v)); }, kContainerFont>(kFont),
      Field<XPButton, [](auto& b) -> auto& { return b.caption_; }, kDisplayName>(kCaption),
      Property<XPButton, [](const XPButton& b) { return b.surface().ForeColor(); },
               [](XPButton& b, OLE_COLOR v) { b.surface().SetForeColor(v); }, kContainerForeColor, kAlwaysStored>(
          kForeColor),
      // Read back as the ForeColor just read, left out when it is the container's.
      Field<XPButton, [](auto& b) -> auto& { return b.foreHover_; },
            [](const XPButton& b) { return b.surface().ForeColor(); }, kContainerForeColor>(kForeHover),
  }}};
  static_assert(kTable.Valid());
  return kTable;
}

void XPButton::SetEnabled(bool v) {
  enabled_ = ToVBBool(v);
  PropertyChanged(kEnabled);
  SetHostEnabled(v);
  Repaint(0);
}

void XPButton::SetFont(FontRef v) {
  surface().SetFont(std::move(v));
  Repaint(0);
  PropertyChanged(kFont);
}

void XPButton::SetCaption(const std::u16string& v) {
  caption_ = v;
  Repaint(0);
  UpdateAccessKey();
  PropertyChanged(kCaption);
}

void XPButton::SetForeColor(OLE_COLOR v) {
  surface().SetForeColor(v);
  Repaint(0);
  PropertyChanged(kForeColor);
}

void XPButton::SetForeHover(OLE_COLOR v) {
  foreHover_ = v;
  PropertyChanged(kForeHover);
}

// ---- Storage ----

void XPButton::OnInitProperties() {
  surface().SetFont(AmbientFont());
  const std::u16string name = AmbientDisplayName();
  caption_ = u"Command" + (name.size() > 8 ? name.substr(8) : std::u16string());
  enabled_ = VbTrue;
}

void XPButton::OnReadProperties(const PropertyBag& bag) {
  Properties().Load(*this, bag);
  SetHostEnabled(enabled_ != 0);
  UpdateAccessKey();
}

void XPButton::OnWriteProperties(PropertyBag& bag) { Properties().Save(*this, bag); }

}  // namespace xpkit
