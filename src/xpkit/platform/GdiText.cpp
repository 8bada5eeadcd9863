// The text calls: fonts, TextOutA and DrawTextA.
#include <algorithm>
#include <cmath>
#include <map>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/detail/PixelRules.h"
#include "xpkit/platform/text/FontLibrary.h"
#include "xpkit/platform/text/ResolvedFont.h"
#include "xpkit/platform/text/ShapedText.h"
#include "xpkit/platform/text/TextLayout.h"

namespace xpkit {
namespace {

RECT BitmapClip(const Bitmap& b) { return {0, 0, b.width(), b.height()}; }

void FillBackground(DcObject& dc, const RECT& clip, const RECT& box) {
  const RECT r = pixel_rules::Intersection(clip, box);
  const std::uint32_t argb = pixel_rules::PixelOf(dc.bkColor);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) dc.target->Set(x, y, argb);
}

}  // namespace

text::FontLibrary& Gdi::Fonts() {
  // Made on first use: a session that draws no text never loads a font.
  if (!fonts_) fonts_ = std::make_unique<text::FontLibrary>();
  return *fonts_;
}

const text::ResolvedFont* Gdi::FontOf(const DcObject& dc) {
  FontObject* f = objects_.Get<FontObject>(dc.font);
  if (!f) return nullptr;
  if (!f->resolved) f->resolved = Fonts().Resolve(f->desc, f->pixelHeight);
  if (!f->resolved->faces().empty()) return f->resolved.get();
  if (!missingFace_) missingFace_ = f->desc.name;
  return nullptr;
}

std::u16string Gdi::Decode(const char* text, int count) const {
  if (!text || count <= 0) return {};
  return codePage_.Decode(std::string_view(text, static_cast<std::size_t>(count)));
}

LOGFONT LogFontOf(const FontDesc& d) {
  LOGFONT lf;
  lf.lfHeight = -static_cast<LONG>(std::lround(d.size * 96.0 / 72.0));
  lf.lfWeight = d.weight;
  lf.lfItalic = d.italic;
  lf.lfUnderline = d.underline;
  lf.lfStrikeOut = d.strikethrough;
  lf.lfCharSet = static_cast<std::uint8_t>(d.charset);
  lf.lfFaceName = d.name;
  return lf;
}

HFONT Gdi::CreateFontIndirect(const LOGFONT& lf) {
  FontDesc d;
  d.name = lf.lfFaceName.substr(0, LF_FACESIZE - 1);
  d.weight = static_cast<std::int16_t>(lf.lfWeight == 0 ? 400 : lf.lfWeight);
  d.italic = lf.lfItalic != 0;
  d.underline = lf.lfUnderline != 0;
  d.strikethrough = lf.lfStrikeOut != 0;
  d.charset = lf.lfCharSet;
  // A negative height is the character (em) height; a positive one the cell height,
  // about 13/11 of the em for the UI faces; 0 asks for the default size.
  int em = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight == 0 ? 11 : std::max(1, (lf.lfHeight * 11 + 6) / 13);
  d.size = em * 72.0 / 96.0;
  return objects_.Add(FontObject{d, em, nullptr});
}

BOOL Gdi::TextOutA(HDC dc, int x, int y, const char* text, int count) {
  DcObject* d = Dc(dc);
  if (!d || count < 0 || (count > 0 && !text)) return FALSE;
  if (count == 0) return TRUE;
  const text::ResolvedFont* font = FontOf(*d);
  if (!font) return FALSE;
  const auto line = text::Shape(*font, Decode(text, count));
  const RECT clip = BitmapClip(*d->target);
  // TA_TOP | TA_LEFT: (x, y) is the top-left of the text cell.
  if (d->bkMode == OPAQUE) FillBackground(*d, clip, {x, y, x + line.width, y + font->height()});
  text::DrawLine(*d->target, clip, Fonts(), *font, line, x, y,
                 pixel_rules::PixelOf(d->textColor));
  return TRUE;
}

int Gdi::DrawTextA(HDC dc, const char* source, int count, RECT* rect, UINT format) {
  DcObject* d = Dc(dc);
  if (!d || !rect || (count != 0 && !source)) return 0;
  if (count < 0) count = static_cast<int>(std::char_traits<char>::length(source));
  if (count == 0) return 0;
  const text::ResolvedFont* font = FontOf(*d);
  if (!font) return 0;

  text::PrefixedText prefixed;
  if (format & DT_NOPREFIX) prefixed.text = Decode(source, count);
  else prefixed = text::StripPrefixes(Decode(source, count));

  // Lines are shaped while they are broken; drawing reuses those shapes.
  std::map<std::u16string, text::ShapedLine, std::less<>> shaped;
  const auto shape = [&](std::u16string_view s) -> const text::ShapedLine& {
    auto it = shaped.find(s);
    if (it == shaped.end()) it = shaped.emplace(std::u16string(s), text::Shape(*font, s)).first;
    return it->second;
  };
  const auto width = [&](std::u16string_view s) { return shape(s).width; };
  const auto lines = text::BreakLines(prefixed.text, (format & DT_SINGLELINE) != 0, (format & DT_WORDBREAK) != 0,
                                      rect->right - rect->left, width);
  const int lineHeight = font->height();
  const int textHeight = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const auto& l : lines) widest = std::max(widest, width(l.text));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }

  int top = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (format & DT_BOTTOM) top = rect->bottom - lineHeight;
  }
  const RECT clip = (format & DT_NOCLIP) ? BitmapClip(*d->target) : pixel_rules::Intersection(*rect, BitmapClip(*d->target));
  const std::uint32_t argb = pixel_rules::PixelOf(d->textColor);
  int y = top;
  for (const auto& l : lines) {
    const text::ShapedLine& line = shape(l.text);
    int x = rect->left;
    if (format & DT_CENTER) x = pixel_rules::CenteredX(rect->left, rect->right, line.width);
    else if (format & DT_RIGHT) x = rect->right - line.width;
    if (d->bkMode == OPAQUE) FillBackground(*d, clip, {x, y, x + line.width, y + lineHeight});
    text::DrawLine(*d->target, clip, Fonts(), *font, line, x, y, argb);
    const int u = prefixed.underline - static_cast<int>(l.start);
    int first = 0, last = 0;
    if (prefixed.underline >= 0 && u >= 0 && u < static_cast<int>(l.text.size()) &&
        line.CharExtent(static_cast<std::uint32_t>(u), first, last))
      text::DrawUnderline(*d->target, clip, *font, x, y, first, last, argb);
    y += lineHeight;
  }
  return (top - rect->top) + textHeight;
}

}  // namespace xpkit
