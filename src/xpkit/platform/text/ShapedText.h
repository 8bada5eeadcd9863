// A line of text shaped (HarfBuzz), ordered by direction (FriBiDi) and placed in whole
// pixels, and its drawing as crisp one-bit glyphs.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/text/ResolvedFont.h"

namespace xpkit::text {

class FontLibrary;

struct PlacedGlyph {
  int face;
  std::uint32_t glyph;
  int x;        // left of the glyph's origin, from the line's left edge
  int y;        // offset from the baseline (down is positive)
  int advance;  // pixels
  std::uint32_t cluster;  // index of the first character it comes from
};

struct ShapedLine {
  std::vector<PlacedGlyph> glyphs;  // in visual order, left to right
  int width = 0;
  // The pixel columns [first, last) covered by the glyphs of character `index`.
  bool CharExtent(std::uint32_t index, int& first, int& last) const;
};

// Shapes `line` as one line with base direction left to right; runs of right-to-left
// text (Arabic) are shaped right to left and placed in visual order.
ShapedLine Shape(const ResolvedFont& font, std::u16string_view line);

// Draws a shaped line with its cell's top-left at (x, top) into `target`, clipped to
// `clip`, in the colour `argb`, with glyphs from `fonts`; the font's underline and
// strikeout are drawn too.
void DrawLine(Bitmap& target, const RECT& clip, FontLibrary& fonts, const ResolvedFont& font, const ShapedLine& line,
              int x, int top, std::uint32_t argb);

// A one-pixel-row underline under the columns [first, last) of a line drawn at (x, top).
void DrawUnderline(Bitmap& target, const RECT& clip, const ResolvedFont& font, int x, int top, int first, int last,
                   std::uint32_t argb);

}  // namespace xpkit::text
