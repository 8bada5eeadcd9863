#include "xpkit/host/Compositor.h"

#include <algorithm>

#include "xpkit/platform/Error.h"
#include "xpkit/platform/PixelRules.h"
#include "xpkit/platform/PrintableName.h"
#include "xpkit/platform/Region.h"
#include "xpkit/platform/Session.h"
#include "xpkit/platform/Utf.h"

namespace xpkit {
namespace {

void DrawLines(Bitmap& out, const Container& c, int ox, int oy, const Region& clip) {
  for (const auto& line : c.lines()) {
    if (!line->Visible) continue;
    const std::uint32_t argb = Bitmap::FromColorRef(OleTranslateColor(line->BorderColor));
    auto px = [&](double v) { return static_cast<LONG>(RoundHalfEven(c.ToPixels(v))); };
    pixel_rules::CosmeticLine(px(line->X1) + ox, px(line->Y1) + oy, px(line->X2) + ox, px(line->Y2) + oy,
                              [&](std::int64_t x, std::int64_t y) {
                                if (out.Contains(static_cast<int>(x), static_cast<int>(y)) &&
                                    clip.Contains(static_cast<LONG>(x), static_cast<LONG>(y)))
                                  out.Set(static_cast<int>(x), static_cast<int>(y), argb);
                              });
  }
}

void ComposeChildren(Bitmap& out, const Container& c, int ox, int oy, const Region& clip);

void ComposeControlAt(Bitmap& out, const UserControl& u, int ox, int oy, const Region& parentClip) {
  Session& session = u.session();
  RECT client{};
  session.user().GetClientRect(u.hWnd(), &client);
  Region own(RECT{ox, oy, ox + client.right, oy + client.bottom});
  if (const Region* shape = session.gdi().RegionOf(session.user().GetWindowRegionHandle(u.hWnd()))) {
    Region s = *shape;
    s.Offset(ox, oy);
    own = own.Intersect(s);
  }
  const Region clip = own.Intersect(parentClip);
  const Bitmap& img = u.surface().image();
  for (const RECT& r : clip.rects())
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        if (out.Contains(x, y) && img.Contains(x - ox, y - oy)) out.Set(x, y, img.At(x - ox, y - oy) | 0xFF000000u);
  DrawLines(out, u, ox, oy, clip);
  ComposeChildren(out, u, ox, oy, clip);
}

void ComposeChildren(Bitmap& out, const Container& c, int ox, int oy, const Region& clip) {
  for (const auto& child : c.controls()) {
    if (!child->Visible()) continue;
    const User& user = c.session().user();
    RECT r{};
    user.GetWindowRect(child->hWnd(), &r);
    POINT at{r.left, r.top};
    user.ScreenToClient(c.hWnd(), &at);
    ComposeControlAt(out, *child, ox + at.x, oy + at.y, clip);
  }
}

}  // namespace

void CheckFonts(const Gdi& gdi) {
  if (const auto& face = gdi.MissingFace())
    throw Error(ErrorCode::NoFont, {},
                "no installed font can draw the text in '" + PrintableName(ToUtf8(*face)) +
                    "': fontconfig finds none that opens (install fonts-wine and fonts-dejavu-core, or see "
                    "XPKIT_FONT_DIR)");
}

Bitmap ComposeForm(const Form& form) {
  CheckFonts(form.session().gdi());
  const int w = form.ClientWidthPx(), h = form.ClientHeightPx();
  Bitmap out(w, h, Bitmap::FromColorRef(OleTranslateColor(form.BackColor)));
  const Region clip(RECT{0, 0, w, h});
  DrawLines(out, form, 0, 0, clip);
  ComposeChildren(out, form, 0, 0, clip);
  return out;
}

Bitmap Enlarged(const Bitmap& image, int scale) {
  if (scale <= 1) return image;
  Bitmap out(image.width() * scale, image.height() * scale);
  for (int y = 0; y < image.height(); ++y) {
    std::uint32_t* row = out.Row(y * scale);
    const std::uint32_t* in = image.Row(y);
    for (int x = 0; x < image.width(); ++x)
      for (int k = 0; k < scale; ++k) row[x * scale + k] = in[x];
    for (int k = 1; k < scale; ++k) std::copy(row, row + out.width(), out.Row(y * scale + k));
  }
  return out;
}

Bitmap ComposeControl(const UserControl& control) {
  CheckFonts(control.session().gdi());
  RECT client{};
  control.session().user().GetClientRect(control.hWnd(), &client);
  Bitmap out(client.right, client.bottom, 0x00000000u);
  ComposeControlAt(out, control, 0, 0, Region(RECT{0, 0, client.right, client.bottom}));
  return out;
}

}  // namespace xpkit
