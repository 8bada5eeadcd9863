#include "xpkit/platform/text/ShapedText.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>
#include <cctype>
#include <iterator>

#include "xpkit/platform/text/FontLibrary.h"

namespace xpkit::text {
namespace {

struct Run {
  std::size_t start, length;
  int level, face;
};

// Kerning and ligatures off: integer advances as the platform's text calls give them.
constexpr hb_feature_t kFeatures[] = {
    {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
};

bool IsCommon(char16_t c) { return c == u' ' || c == u'\t' || (c >= u'0' && c <= u'9') || (c < 0x80 && !std::isalpha(c)); }

// Visual order of runs by the bidi rule L2: from the highest level down to the lowest
// odd level, reverse every maximal sequence of runs at that level or higher.
std::vector<Run> VisualOrder(std::vector<Run> runs) {
  int maxLevel = 0, minOdd = 255;
  for (const Run& r : runs) {
    maxLevel = std::max(maxLevel, r.level);
    if (r.level % 2) minOdd = std::min(minOdd, r.level);
  }
  for (int level = maxLevel; level >= minOdd && level > 0; --level) {
    for (std::size_t i = 0; i < runs.size();) {
      if (runs[i].level < level) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < runs.size() && runs[j].level >= level) ++j;
      std::reverse(runs.begin() + static_cast<long>(i), runs.begin() + static_cast<long>(j));
      i = j;
    }
  }
  return runs;
}

void Plot(Bitmap& b, const RECT& clip, int x, int y, std::uint32_t argb) {
  if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom && b.Contains(x, y)) b.Set(x, y, argb);
}

void HLine(Bitmap& b, const RECT& clip, int x0, int x1, int y, int thickness, std::uint32_t argb) {
  for (int t = 0; t < thickness; ++t)
    for (int x = x0; x < x1; ++x) Plot(b, clip, x, y + t, argb);
}

}  // namespace

bool ShapedLine::CharExtent(std::uint32_t index, int& first, int& last) const {
  bool found = false;
  for (const PlacedGlyph& g : glyphs) {
    if (g.cluster != index) continue;
    first = found ? std::min(first, g.x) : g.x;
    last = found ? std::max(last, g.x + g.advance) : g.x + g.advance;
    found = true;
  }
  return found;
}

ShapedLine Shape(const ResolvedFont& font, std::u16string_view line) {
  ShapedLine out;
  if (line.empty() || font.faces().empty()) return out;
  const auto n = static_cast<FriBidiStrIndex>(line.size());
  std::vector<FriBidiChar> chars(line.begin(), line.end());
  std::vector<FriBidiCharType> types(line.size());
  std::vector<FriBidiBracketType> brackets(line.size());
  std::vector<FriBidiLevel> levels(line.size());
  fribidi_get_bidi_types(chars.data(), n, types.data());
  fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
  FriBidiParType base = FRIBIDI_PAR_LTR;
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base, levels.data()) == 0)
    std::fill(levels.begin(), levels.end(), FriBidiLevel{0});  // no memory for bidi: keep logical order

  // Runs of one level and one face; spaces and digits stay with the face before them.
  std::vector<Run> runs;
  int prevFace = -1;
  for (std::size_t i = 0; i < line.size(); ++i) {
    int face = (prevFace >= 0 && IsCommon(line[i]) && font.Has(prevFace, line[i])) ? prevFace : font.FaceFor(line[i]);
    prevFace = face;
    if (!runs.empty() && runs.back().level == levels[i] && runs.back().face == face) {
      ++runs.back().length;
    } else {
      runs.push_back({i, 1, levels[i], face});
    }
  }

  hb_buffer_t* buf = hb_buffer_create();
  int pen = 0;
  for (const Run& run : VisualOrder(std::move(runs))) {
    const Face& face = font.faces()[static_cast<std::size_t>(run.face)];
    hb_buffer_clear_contents(buf);
    // The whole line is the context, so joining across run edges is shaped right.
    hb_buffer_add_utf16(buf, reinterpret_cast<const std::uint16_t*>(line.data()), static_cast<int>(line.size()),
                        static_cast<unsigned>(run.start), static_cast<int>(run.length));
    hb_buffer_set_direction(buf, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_guess_segment_properties(buf);
    hb_shape(face.hb, buf, kFeatures, std::size(kFeatures));
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
    for (unsigned g = 0; g < count; ++g) {
      const int advance = static_cast<int>((pos[g].x_advance + 32) >> 6) + (face.syntheticBold ? 1 : 0);
      out.glyphs.push_back({run.face, info[g].codepoint, pen + static_cast<int>((pos[g].x_offset + 32) >> 6),
                            -static_cast<int>((pos[g].y_offset + 32) >> 6), advance, info[g].cluster});
      pen += advance;
    }
  }
  hb_buffer_destroy(buf);
  out.width = pen;
  return out;
}

void DrawLine(Bitmap& target, const RECT& clip, FontLibrary& fonts, const ResolvedFont& font, const ShapedLine& line,
              int x, int top, std::uint32_t argb) {
  const int baseline = top + font.ascent;
  // Only the glyphs that reach into the clip are rendered, and only their part inside it
  // is walked: a long line in a large font mostly lies outside.
  const RECT area{std::max<LONG>(clip.left, 0), std::max<LONG>(clip.top, 0), std::min<LONG>(clip.right, target.width()),
                  std::min<LONG>(clip.bottom, target.height())};
  for (const PlacedGlyph& g : line.glyphs) {
    const Face& face = font.faces()[static_cast<std::size_t>(g.face)];
    const int overstrike = face.syntheticBold ? 1 : 0;
    const RECT& box = fonts.Bounds(face, g.glyph);
    const int px = x + g.x, py = baseline + g.y;
    if (px + box.right + overstrike <= area.left || px + box.left >= area.right || py + box.bottom <= area.top ||
        py + box.top >= area.bottom)
      continue;
    const GlyphImage& img = fonts.Glyph(face, g.glyph);
    const int ox = px + img.left, oy = py - img.top;
    const int firstRow = std::max(0, area.top - oy), endRow = std::min(img.rows, area.bottom - oy);
    const int firstColumn = std::max(0, area.left - ox - overstrike), endColumn = std::min(img.width, area.right - ox);
    for (int yy = firstRow; yy < endRow; ++yy)
      for (int xx = firstColumn; xx < endColumn; ++xx) {
        if (!img.mask[static_cast<std::size_t>(yy) * img.width + xx]) continue;
        Plot(target, clip, ox + xx, oy + yy, argb);
        if (face.syntheticBold) Plot(target, clip, ox + xx + 1, oy + yy, argb);
      }
  }
  if (font.underline) HLine(target, clip, x, x + line.width, baseline + font.underlineOffset, font.underlineThickness, argb);
  if (font.strikeout) HLine(target, clip, x, x + line.width, baseline - font.strikeoutOffset, font.underlineThickness, argb);
}

void DrawUnderline(Bitmap& target, const RECT& clip, const ResolvedFont& font, int x, int top, int first, int last,
                   std::uint32_t argb) {
  HLine(target, clip, x + first, x + last, top + font.ascent + font.underlineOffset, 1, argb);
}

}  // namespace xpkit::text
