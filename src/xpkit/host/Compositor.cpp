#include "xpkit/host/Compositor.h"

#include <algorithm>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/codepage/PrintableName.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/Region.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

void DrawLines(Bitmap& out, const Container& c, int ox, int oy, const Region& clip) {
  if (c.lines().empty() || clip.Empty()) return;
  // Ends past a billion pixels (only a program sets such) are held there, where sums of
  // 32-bit coordinates cannot overflow.
  auto px = [&](double v, int o) { return static_cast<LONG>(std::clamp(RoundHalfEven(c.ToPixels(v)), -1e9, 1e9)) + o; };
  for (const auto& line : c.lines()) {
    if (!line->Visible) continue;
    const std::uint32_t argb = Bitmap::FromColorRef(OleTranslateColor(line->BorderColor));
    PaintCosmeticLine(out, px(line->X1, ox), px(line->Y1, oy), px(line->X2, ox), px(line->Y2, oy), argb, clip);
  }
}

// Draws a control's image inside its window region and its lines at (ox, oy), within
// `parentClip`; returns the clip its children are drawn in.
Region DrawControl(Bitmap& out, const UserControl& u, int ox, int oy, const Region& parentClip) {
  Session& session = u.session();
  RECT client{};
  session.user().GetClientRect(u.hWnd(), &client);
  Region own(RECT{ox, oy, ox + client.right, oy + client.bottom});
  if (const Region* shape = session.gdi().RegionOf(session.user().GetWindowRegionHandle(u.hWnd()))) {
    Region s = *shape;
    s.Offset(ox, oy);
    own = own.Intersect(s);
  }
  Region clip = own.Intersect(parentClip);
  const Bitmap& img = u.surface().image();
  for (const RECT& r : clip.rects())
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        if (out.Contains(x, y) && img.Contains(x - ox, y - oy)) out.Set(x, y, img.At(x - ox, y - oy) | 0xFF000000u);
  DrawLines(out, u, ox, oy, clip);
  return clip;
}

// Draws every visible control below `root`, whose client area lies at (ox, oy) with
// `clip`, each above its parent and its earlier siblings. The walk keeps its own stack,
// so any depth a program nests is drawn; a control with nothing left to show is passed
// over with its children.
void DrawControlsBelow(Bitmap& out, const Container& root, int ox, int oy, Region clip) {
  struct Placed {
    std::int64_t ox, oy;  // a deep pile of far-placed controls may pass 32 bits
    Region clip;
  };
  std::vector<Placed> at;  // at[d]: the control at depth d whose children come next
  at.push_back({ox, oy, std::move(clip)});
  const User& user = root.session().user();
  root.ForEachControl([&](const UserControl& u, int depth) {
    if (!u.Visible()) return false;
    RECT r{};
    user.GetRectInParent(u.hWnd(), &r);
    const Placed& parent = at[static_cast<std::size_t>(depth) - 1];
    Placed self{parent.ox + r.left, parent.oy + r.top, {}};
    // Past a billion pixels a control is as far outside the image as it can be.
    auto held = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); };
    self.clip = DrawControl(out, u, held(self.ox), held(self.oy), parent.clip);
    if (self.clip.Empty()) return false;
    at.resize(static_cast<std::size_t>(depth));
    at.push_back(std::move(self));
    return true;
  });
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
  DrawControlsBelow(out, form, 0, 0, clip);
  return out;
}

PictureRows EnlargedRows(const Bitmap& image, int scale) {
  if (scale <= 1) return {image.width(), image.height(), [&image](int y) { return image.Row(y); }};
  // One row is kept: the rows of a block are asked for one after another.
  std::vector<std::uint32_t> row(static_cast<std::size_t>(image.width()) * scale);
  auto make = [&image, scale, row = std::move(row), made = -1](int y) mutable -> const std::uint32_t* {
    if (y / scale != made) {
      made = y / scale;
      const std::uint32_t* in = image.Row(made);
      for (int x = 0; x < image.width(); ++x) std::fill_n(row.data() + static_cast<std::size_t>(x) * scale, scale, in[x]);
    }
    return row.data();
  };
  return {image.width() * scale, image.height() * scale, std::move(make)};
}

Bitmap Enlarged(const Bitmap& image, int scale) {
  // A window's every frame at one pixel to a pixel: a copy whole, not a row at a time
  // into a picture filled first.
  if (scale <= 1) return image;
  const PictureRows rows = EnlargedRows(image, scale);
  Bitmap out(rows.width, rows.height);
  for (int y = 0; y < rows.height; ++y) std::copy_n(rows.row(y), rows.width, out.Row(y));
  return out;
}

Bitmap ComposeControl(const UserControl& control) {
  CheckFonts(control.session().gdi());
  RECT client{};
  control.session().user().GetClientRect(control.hWnd(), &client);
  Bitmap out(client.right, client.bottom, 0x00000000u);
  DrawControlsBelow(out, control, 0, 0,
                    DrawControl(out, control, 0, 0, Region(RECT{0, 0, client.right, client.bottom})));
  return out;
}

}  // namespace xpkit
