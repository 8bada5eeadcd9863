// Where GDI puts pixels. Every rule the drawing layer reproduces lives here, so that a
// correction touches one place. Pixel (x, y) is the unit square from (x, y) to
// (x + 1, y + 1); y grows downward.
#pragma once
#include <algorithm>
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
// Only the pixels inside `clip` are plotted, and only they are stepped through: both
// coordinates move monotonically, so the steps inside are one run found by bisection,
// and a line reaching far past a small image costs what its visible part does.
template <class Plot>
void CosmeticLine(LONG x1, LONG y1, LONG x2, LONG y2, const RECT& clip, Plot&& plot) {
  const std::int64_t dx = std::int64_t{x2} - x1, dy = std::int64_t{y2} - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  // Along the major axis a(i) = a1 + i*step; across it b(i) = b1 + ceil((2*i*db - n) / (2*n)).
  const std::int64_t n = xMajor ? adx : ady, a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
  const std::int64_t da = xMajor ? dx : dy, db = xMajor ? dy : dx;
  const std::int64_t aLo = xMajor ? clip.left : clip.top, aHi = xMajor ? clip.right : clip.bottom;
  const std::int64_t bLo = xMajor ? clip.top : clip.left, bHi = xMajor ? clip.bottom : clip.right;
  auto ceilDiv = [](std::int64_t num, std::int64_t d) { return num >= 0 ? (num + d - 1) / d : -((-num) / d); };
  auto b = [&](std::int64_t i) { return b1 + ceilDiv(2 * i * db - n, 2 * n); };
  // The first step in [lo, hi) where `reached` holds (it holds from some step on), else hi.
  auto first = [](std::int64_t lo, std::int64_t hi, auto reached) {
    while (lo < hi) {
      const std::int64_t mid = lo + (hi - lo) / 2;
      if (reached(mid))
        hi = mid;
      else
        lo = mid + 1;
    }
    return lo;
  };
  const std::int64_t step = da < 0 ? -1 : 1;
  std::int64_t from = step > 0 ? aLo - a1 : a1 - aHi + 1, to = step > 0 ? aHi - a1 : a1 - aLo + 1;
  from = from < 0 ? 0 : from;
  to = to > n ? n : to;
  if (db >= 0) {
    from = first(from, to, [&](std::int64_t i) { return b(i) >= bLo; });
    to = first(from, to, [&](std::int64_t i) { return b(i) >= bHi; });
  } else {
    from = first(from, to, [&](std::int64_t i) { return b(i) < bHi; });
    to = first(from, to, [&](std::int64_t i) { return b(i) < bLo; });
  }
  for (std::int64_t i = from; i < to; ++i) {
    const std::int64_t a = a1 + i * step;
    if (xMajor)
      plot(a, b(i));
    else
      plot(b(i), a);
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

// Spans (y, xFirst, xLast inclusive) covered by a wide pen from (x1, y1) to (x2, y2);
// stamps wholly outside `clip` are left out.
template <class Span>
void WideLine(LONG x1, LONG y1, LONG x2, LONG y2, int width, const RECT& clip, Span&& span) {
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
  // A stamp reaches at most `width` pixels from its point either way.
  const RECT reach{clip.left - width, clip.top - width, clip.right + width, clip.bottom + width};
  CosmeticLine(x1, y1, x2, y2, reach, stamp);
  stamp(x2, y2);
}

// A rectangle (left, top, right, bottom) covers columns left .. right - 1 and rows
// top .. bottom - 1; an empty or inverted rectangle covers nothing.
inline bool RectIsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// What two rectangles share; empty (by RectIsEmpty) when they do not meet.
inline RECT Intersection(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// DrawText's horizontal centring of a line of width `w` in [left, right): the
// platform's integer division of (left + right - w) by 2, truncating toward zero.
inline LONG CenteredX(LONG left, LONG right, LONG w) { return (left + right - w) / 2; }

}  // namespace xpkit::pixel_rules

namespace xpkit::pixel_rules {

// The colour GDI puts down for a COLORREF: a top byte of 0x01 names an entry of the
// default 20-colour palette (index in the low 16 bits); any other top byte, 0x02
// (palette-relative) included, leaves the low 24 bits as the RGB value.
COLORREF ResolveColorRef(COLORREF c);

// The opaque pixel GDI puts down for a COLORREF: its resolved colour.
std::uint32_t PixelOf(COLORREF c);

}  // namespace xpkit::pixel_rules
