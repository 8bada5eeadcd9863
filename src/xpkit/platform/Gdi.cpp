#include "xpkit/platform/Gdi.h"

#include <algorithm>

#include "xpkit/platform/detail/PixelRules.h"
#include "xpkit/platform/text/FontLibrary.h"

namespace xpkit {
namespace {

void PutPixel(Bitmap& b, std::int64_t x, std::int64_t y, std::uint32_t argb) {
  if (x >= 0 && y >= 0 && x < b.width() && y < b.height()) b.Set(static_cast<int>(x), static_cast<int>(y), argb);
}

void PutSpan(Bitmap& b, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t argb) {
  if (y < 0 || y >= b.height()) return;
  x0 = std::max<std::int64_t>(x0, 0);
  x1 = std::min<std::int64_t>(x1, b.width() - 1);
  std::uint32_t* row = b.Row(static_cast<int>(y));
  for (std::int64_t x = x0; x <= x1; ++x) row[x] = argb;
}

}  // namespace

Gdi::Gdi(std::uint32_t tag, const CodePage& codePage) : codePage_(codePage), objects_(tag) {
  StockObjects& s = stock_;
  s.whiteBrush = objects_.Add(BrushObject{false, RGB(255, 255, 255)}, true);
  s.blackBrush = objects_.Add(BrushObject{false, RGB(0, 0, 0)}, true);
  s.nullBrush = objects_.Add(BrushObject{true, 0}, true);
  s.whitePen = objects_.Add(PenObject{PS_SOLID, 0, RGB(255, 255, 255)}, true);
  s.blackPen = objects_.Add(PenObject{PS_SOLID, 0, RGB(0, 0, 0)}, true);
  s.nullPen = objects_.Add(PenObject{PS_NULL, 0, 0}, true);
  const FontDesc system{u"System", 10, 700, false, false, false, 0};
  s.systemFont = objects_.Add(FontObject{system, 13, nullptr}, true);
  const FontDesc gui{u"MS Sans Serif", 8.25, 400, false, false, false, 0};
  s.guiFont = objects_.Add(FontObject{gui, 11, nullptr}, true);
}

Gdi::~Gdi() = default;

HPEN Gdi::CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return 0;
  return objects_.Add(PenObject{style, std::max(width, 0), color});
}

HBRUSH Gdi::CreateSolidBrush(COLORREF color) { return objects_.Add(BrushObject{false, color}); }

HRGN Gdi::CreateRectRgn(int left, int top, int right, int bottom) {
  // A region rectangle is normalised, as the platform does for regions.
  RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
  return objects_.Add(RegionObject{Region(r)});
}

int Gdi::CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  auto* d = objects_.Get<RegionObject>(dst);
  auto* a = objects_.Get<RegionObject>(src1);
  if (!d || !a) return RGN_ERROR;
  if (mode == RGN_COPY) {
    d->region = a->region;
    return d->region.Complexity();
  }
  auto* b = objects_.Get<RegionObject>(src2);
  if (!b) return RGN_ERROR;
  Region result;
  switch (mode) {
    case RGN_AND: result = a->region.Intersect(b->region); break;
    case RGN_OR: result = a->region.Union(b->region); break;
    case RGN_XOR: result = a->region.Xor(b->region); break;
    case RGN_DIFF: result = a->region.Subtract(b->region); break;
    default: return RGN_ERROR;
  }
  d->region = std::move(result);
  return d->region.Complexity();
}

BOOL Gdi::PtInRegion(HRGN rgn, int x, int y) {
  const Region* r = RegionOf(rgn);
  return r && r->Contains(x, y) ? TRUE : FALSE;
}

const Region* Gdi::RegionOf(HRGN rgn) {
  auto* r = objects_.Get<RegionObject>(rgn);
  return r ? &r->region : nullptr;
}

HGDIOBJ Gdi::GetStockObject(int which) const {
  const StockObjects& s = stock_;
  switch (which) {
    case WHITE_BRUSH: return s.whiteBrush;
    case BLACK_BRUSH: return s.blackBrush;
    case NULL_BRUSH: return s.nullBrush;
    case WHITE_PEN: return s.whitePen;
    case BLACK_PEN: return s.blackPen;
    case NULL_PEN: return s.nullPen;
    case SYSTEM_FONT: return s.systemFont;
    case DEFAULT_GUI_FONT: return s.guiFont;
    default: return 0;
  }
}

HGDIOBJ Gdi::SelectObject(HDC dc, HGDIOBJ object) {
  DcObject* d = Dc(dc);
  if (!d) return 0;
  HGDIOBJ* slot = nullptr;
  switch (objects_.KindOfHandle(object)) {
    case GdiKind::Pen: slot = &d->pen; break;
    case GdiKind::Brush: slot = &d->brush; break;
    case GdiKind::Font: slot = &d->font; break;
    default: return 0;
  }
  const HGDIOBJ previous = *slot;
  *slot = object;
  objects_.CountSelection(object, +1);
  objects_.CountSelection(previous, -1);
  return previous;
}

BOOL Gdi::DeleteObject(HGDIOBJ object) {
  auto& t = objects_;
  if (!t.IsLive(object) || t.IsStock(object)) return FALSE;
  const GdiKind kind = t.KindOfHandle(object);
  if (kind == GdiKind::DC) return FALSE;
  if (t.IsSelectedInDc(object)) return FALSE;  // a selected object stays until deselected
  return t.Remove(object) ? TRUE : FALSE;
}

HDC Gdi::CreateImageDC(Bitmap* target) {
  if (!target) return 0;
  const StockObjects& s = stock_;
  DcObject d;
  d.target = target;
  d.pen = s.blackPen;
  d.brush = s.whiteBrush;
  d.font = s.systemFont;
  const HDC dc = objects_.Add(std::move(d));
  if (dc)
    for (HGDIOBJ selected : {s.blackPen, s.whiteBrush, s.systemFont}) objects_.CountSelection(selected, +1);
  return dc;
}

BOOL Gdi::DeleteDC(HDC dc) {
  const DcObject* d = Dc(dc);
  if (!d) return FALSE;
  for (HGDIOBJ selected : {d->pen, d->brush, d->font}) objects_.CountSelection(selected, -1);
  return objects_.Remove(dc) ? TRUE : FALSE;
}

std::size_t Gdi::LiveObjectCount() const { return objects_.LiveCount(); }
std::size_t Gdi::CreatedObjectCount() const {
  return objects_.CreatedCount(GdiKind::Pen) + objects_.CreatedCount(GdiKind::Brush) +
         objects_.CreatedCount(GdiKind::Region);
}

BOOL Gdi::MoveToEx(HDC dc, int x, int y, POINT* previous) {
  DcObject* d = Dc(dc);
  if (!d) return FALSE;
  if (previous) *previous = d->position;
  d->position = {x, y};
  return TRUE;
}

BOOL Gdi::LineTo(HDC dc, int x, int y) {
  DcObject* d = Dc(dc);
  if (!d) return FALSE;
  const POINT from = d->position;
  d->position = {x, y};
  const PenObject* pen = objects_.Get<PenObject>(d->pen);
  if (!pen || pen->style == PS_NULL) return TRUE;
  Bitmap& b = *d->target;
  const std::uint32_t argb = pixel_rules::PixelOf(pen->color);
  const RECT image{0, 0, b.width(), b.height()};
  if (pen->width <= 1) {
    pixel_rules::CosmeticLine(from.x, from.y, x, y, image,
                              [&](std::int64_t px, std::int64_t py) { PutPixel(b, px, py, argb); });
  } else {
    pixel_rules::WideLine(from.x, from.y, x, y, pen->width, image,
                          [&](std::int64_t py, std::int64_t x0, std::int64_t x1) { PutSpan(b, py, x0, x1, argb); });
  }
  return TRUE;
}

COLORREF Gdi::SetPixel(HDC dc, int x, int y, COLORREF color) {
  DcObject* d = Dc(dc);
  if (!d || !d->target->Contains(x, y)) return CLR_INVALID;
  const COLORREF put = pixel_rules::ResolveColorRef(color);
  d->target->Set(x, y, Bitmap::FromColorRef(put));
  return put;
}

int Gdi::FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DcObject* d = Dc(dc);
  const BrushObject* br = objects_.Get<BrushObject>(brush);
  if (!d || !rect || !br) return 0;
  if (br->hollow || pixel_rules::RectIsEmpty(*rect)) return 1;
  const std::uint32_t argb = pixel_rules::PixelOf(br->color);
  for (std::int64_t y = rect->top; y < rect->bottom; ++y) PutSpan(*d->target, y, rect->left, std::int64_t{rect->right} - 1, argb);
  return 1;
}

int Gdi::FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DcObject* d = Dc(dc);
  const BrushObject* br = objects_.Get<BrushObject>(brush);
  if (!d || !rect || !br) return 0;
  if (br->hollow || pixel_rules::RectIsEmpty(*rect)) return 1;
  // One-pixel frame on the outermost columns and rows of the rectangle.
  const std::uint32_t argb = pixel_rules::PixelOf(br->color);
  const std::int64_t l = rect->left, t = rect->top, r = std::int64_t{rect->right} - 1, btm = std::int64_t{rect->bottom} - 1;
  PutSpan(*d->target, t, l, r, argb);
  PutSpan(*d->target, btm, l, r, argb);
  for (std::int64_t y = t; y <= btm; ++y) {
    PutPixel(*d->target, l, y, argb);
    PutPixel(*d->target, r, y, argb);
  }
  return 1;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

COLORREF Gdi::SetTextColor(HDC dc, COLORREF color) {
  DcObject* d = Dc(dc);
  if (!d) return CLR_INVALID;
  const COLORREF previous = d->textColor;
  d->textColor = color;  // resolved when drawn, by the colour rule
  return previous;
}

int Gdi::SetBkMode(HDC dc, int mode) {
  DcObject* d = Dc(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = d->bkMode;
  d->bkMode = mode;
  return previous;
}

void PaintCosmeticLine(Bitmap& out, LONG x1, LONG y1, LONG x2, LONG y2, std::uint32_t argb, const Region& clip) {
  if (clip.Empty()) return;
  // Only the part of the line inside the clip's bounds, within the image, is stepped through.
  const RECT b = clip.Bounds();
  const RECT bounds{std::max<LONG>(b.left, 0), std::max<LONG>(b.top, 0), std::min<LONG>(b.right, out.width()),
                    std::min<LONG>(b.bottom, out.height())};
  pixel_rules::CosmeticLine(x1, y1, x2, y2, bounds, [&](std::int64_t x, std::int64_t y) {
    if (clip.Contains(static_cast<LONG>(x), static_cast<LONG>(y))) out.Set(static_cast<int>(x), static_cast<int>(y), argb);
  });
}

}  // namespace xpkit
