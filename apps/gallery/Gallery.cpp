#include "gallery/Gallery.h"

#include "gallery/WindowFrame.h"

#include "xpkit/Error.h"
#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/header/XPHeader.h"
#include "xpkit/controls/msgbox/frmMsgBox.h"
#include "xpkit/gradient/clsGradient.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

bool FitsPicture(int width, int height) {
  return width <= kMaxSide && height <= kMaxSide && static_cast<long long>(width) * height <= kMaxPixels;
}

Bitmap RenderGradient(const GradientRequest& r) {
  HeadlessBackend backend;
  Host host(backend);
  Session& session = host.session();
  const HWND hwnd = session.user().CreateWindowHandle(0, {0, 0, r.width, r.height});
  Bitmap image(r.width, r.height, 0xFFFFFFFFu);
  const HDC dc = session.gdi().CreateImageDC(&image);
  clsGradient gradient(host);
  if (r.color1) gradient.SetColor1(static_cast<std::int32_t>(*r.color1));
  if (r.color2) gradient.SetColor2(static_cast<std::int32_t>(*r.color2));
  gradient.SetAngle(r.angle);
  gradient.Draw(hwnd, dc);
  session.gdi().DeleteDC(dc);
  session.user().DestroyWindow(hwnd);
  return image;
}

Bitmap RenderHeader(const HeaderRequest& r) {
  HeadlessBackend backend;
  Host host(backend);
  Form form(host, "frmGallery", r.width, r.height);
  PropertyBag bag;
  if (r.caption) bag.WriteProperty("Caption", *r.caption);
  if (r.description) bag.WriteProperty("Description", *r.description);
  if (r.borderStyle) bag.WriteProperty("BorderStyle", *r.borderStyle);
  auto& header = form.Add<XPHeader>("XPHeader1", {0, 0, Px(r.width), Px(r.height), Dock::Top}, &bag);
  return ComposeControl(header);
}

std::optional<ButtonLook> ParseButtonLook(std::string_view name) {
  static constexpr std::pair<std::string_view, ButtonLook> kLooks[] = {{"normal", ButtonLook::Normal},
                                                                       {"hover", ButtonLook::Hover},
                                                                       {"focus", ButtonLook::Focus},
                                                                       {"pressed", ButtonLook::Pressed},
                                                                       {"disabled", ButtonLook::Disabled}};
  for (const auto& [n, look] : kLooks)
    if (n == name) return look;
  return std::nullopt;
}

Bitmap RenderButton(const ButtonRequest& r) {
  HeadlessBackend backend;
  Host host(backend);
  // A margin around the button leaves room for the pointer to rest outside it.
  Form form(host, "frmGallery", r.width + 2, r.height + 2);
  PropertyBag bag;
  bag.WriteProperty("Caption", r.caption);
  bag.WriteProperty("Font", FontDesc{r.fontFace, r.fontSize, 400, false, false, false, form.Font->Charset()});
  bag.WriteProperty("ForeColor", ColorValue{0x80000006});
  bag.WriteProperty("ForeHover", ColorValue{0});
  auto& button = form.Add<XPButton>("cmdExit", {Px(1), Px(1), Px(r.width), Px(r.height)}, &bag);
  form.Show();
  HeadlessDriver input(host, form);
  switch (r.look) {
    case ButtonLook::Normal: break;
    case ButtonLook::Hover: input.MoveTo(1 + r.width / 2, 1 + r.height / 2); break;
    case ButtonLook::Focus: host.SetFocus(&button); break;
    case ButtonLook::Pressed:
      input.MoveTo(1 + r.width / 2, 1 + r.height / 2);
      input.Press();
      break;
    case ButtonLook::Disabled: button.SetEnabled(false); break;
  }
  return ComposeControl(button);
}

Bitmap RenderMsgBox(const MsgBoxRequest& r) {
  HeadlessBackend backend;
  Host host(backend);
  const frmMsgBox::Arrangement l = frmMsgBox::Arrange(host, host.session().codePage().Encode(r.text));
  if (const POINT size = FramedSize(l.width, l.height); !FitsPicture(size.x, size.y))
    throw Error(ErrorCode::BadUsage, {},
                "the message box of this text would be " + std::to_string(size.x) + "x" + std::to_string(size.y) +
                    " pixels; a picture is at most " + std::to_string(kMaxSide) + " pixels a side and " +
                    std::to_string(kMaxPixels) + " pixels in all");
  frmMsgBox box(host, r.text, r.caption);
  box.Show();
  return Framed(host.session(), ComposeForm(box), box.Caption);
}

}  // namespace xpkit
