// Where GDI puts pixels. Every rule the drawing layer reproduces lives here, so that a
// correction touches one place. Pixel (x, y) is the unit square from (x, y) to
// (x + 1, y + 1); y grows downward.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit::pixel_rules {

// A cosmetic (1-pixel) line sets max(|dx|, |dy|) pixels, one per step along the major
// axis, the start included and the end left out; a zero-length line sets nothing. The
// minor coordinate is the exact value rounded to nearest, an exact half going to the
// smaller coordinate, in every octant: y = y1 + ceil(i*dy/|dx| - 1/2) for an x-major line.
template <class Plot>
void CosmeticLine(LONG x1, LONG y1, LONG x2, LONG y2, Plot&& plot) {
  const std::int64_t dx = std::int64_t{x2} - x1, dy = std::int64_t{y2} - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  // ceil(n / d) for d > 0.
  auto ceilDiv = [](std::int64_t n, std::int64_t d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); };
  if (adx >= ady) {
    const std::int64_t sx = dx < 0 ? -1 : 1;
    for (std::int64_t i = 0; i < adx; ++i)
      plot(x1 + i * sx, y1 + ceilDiv(2 * i * dy - adx, 2 * adx));
  } else {
    const std::int64_t sy = dy < 0 ? -1 : 1;
    for (std::int64_t i = 0; i < ady; ++i)
      plot(x1 + ceilDiv(2 * i * dx - ady, 2 * ady), y1 + i * sy);
  }
}

// The dot a geometric solid pen stamps on every point of its line, both ends included,
// as rows of columns relative to the point. Widths 2..5 are GDI's observed stamps; even
// widths reach one pixel further toward smaller coordinates. Wider pens use a disc.
struct DotRow {
  int dy, dx0, dx1;  // row offset, first and last column offset (inclusive)
};
class PenDot {
 public:
  explicit PenDot(int width);
  PenDot(const PenDot&) = delete;
  PenDot& operator=(const PenDot&) = delete;
  std::span<const DotRow> rows() const { return rows_; }

 private:
  std::vector<DotRow> disc_;  // only past width 5: the fixed stamps need no copy
  std::span<const DotRow> rows_;
};

// Spans (y, xFirst, xLast inclusive) covered by a wide pen from (x1, y1) to (x2, y2).
template <class Span>
void WideLine(LONG x1, LONG y1, LONG x2, LONG y2, int width, Span&& span) {
  const PenDot pen(width);
  const std::span<const DotRow> dot = pen.rows();
  if (y1 == y2) {  // horizontal: each dot row sweeps one span
    const std::int64_t a = x1 < x2 ? x1 : x2, b = x1 < x2 ? x2 : x1;
    for (const DotRow& r : dot) span(std::int64_t{y1} + r.dy, a + r.dx0, b + r.dx1);
    return;
  }
  auto stamp = [&](std::int64_t x, std::int64_t y) {
    for (const DotRow& r : dot) span(y + r.dy, x + r.dx0, x + r.dx1);
  };
  CosmeticLine(x1, y1, x2, y2, stamp);
  stamp(x2, y2);
}

// A rectangle (left, top, right, bottom) covers columns left .. right - 1 and rows
// top .. bottom - 1; an empty or inverted rectangle covers nothing.
inline bool RectIsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// DrawText's horizontal centring of a line of width `w` in [left, right): the
// platform's integer division of (left + right - w) by 2, truncating toward zero.
inline LONG CenteredX(LONG left, LONG right, LONG w) { return (left + right - w) / 2; }

}  // namespace xpkit::pixel_rules

namespace xpkit::pixel_rules {

// The colour GDI puts down for a COLORREF: a top byte of 0x01 names an entry of the
// default 20-colour palette (index in the low 16 bits); any other top byte, 0x02
// (palette-relative) included, leaves the low 24 bits as the RGB value.
COLORREF ResolveColorRef(COLORREF c);

}  // namespace xpkit::pixel_rules
