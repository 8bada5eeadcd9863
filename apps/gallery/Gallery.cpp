#include "apps/gallery/Gallery.h"

#include "backends/headless/HeadlessBackend.h"
#include "controls/header/XPHeader.h"
#include "gradient/clsGradient.h"
#include "host/Compositor.h"
#include "host/Form.h"
#include "host/Host.h"
#include "platform/Gdi.h"
#include "platform/User.h"

namespace xpkit {

Bitmap RenderGradient(const GradientRequest& r) {
  HeadlessBackend backend;
  Host host(backend);
  const HWND hwnd = CreateWindowHandle(0, {0, 0, r.width, r.height});
  Bitmap image(r.width, r.height, 0xFFFFFFFFu);
  const HDC dc = CreateImageDC(&image);
  clsGradient gradient(host);
  if (r.color1) gradient.SetColor1(static_cast<std::int32_t>(*r.color1));
  if (r.color2) gradient.SetColor2(static_cast<std::int32_t>(*r.color2));
  gradient.SetAngle(r.angle);
  gradient.Draw(hwnd, dc);
  DeleteDC(dc);
  DestroyWindow(hwnd);
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
  auto& header = form.Add<XPHeader>("XPHeader1", {0, 0, r.width * 15.0, r.height * 15.0, Dock::Top}, &bag);
  return ComposeControl(header);
}

}  // namespace xpkit
