#include "xpkit/platform/text/TextLayout.h"

namespace xpkit::text {

PrefixedText StripPrefixes(std::u16string_view source) {
  PrefixedText out;
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (source[i] != u'&') {
      out.text += source[i];
      continue;
    }
    if (i + 1 >= source.size()) break;  // trailing "&"
    if (source[i + 1] == u'&') {
      out.text += u'&';
    } else {
      out.underline = static_cast<int>(out.text.size());
      out.text += source[i + 1];
    }
    ++i;
  }
  return out;
}

namespace {

std::u16string_view TrimTrailingSpaces(std::u16string_view s) {
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

void WrapParagraph(std::u16string_view text, std::size_t offset, int maxWidth,
                   const std::function<int(std::u16string_view)>& width, std::vector<TextLine>& out) {
  std::size_t start = 0;
  while (true) {
    // The line's candidates end after each word; the longest that fits is taken.
    std::size_t end = start, fit = std::u16string_view::npos;
    while (end < text.size()) {
      while (end < text.size() && text[end] == u' ') ++end;
      while (end < text.size() && text[end] != u' ') ++end;
      const auto candidate = TrimTrailingSpaces(text.substr(start, end - start));
      if (fit != std::u16string_view::npos && width(candidate) > maxWidth) break;
      fit = end;
      if (width(candidate) > maxWidth) break;  // a first word too wide keeps its own line
    }
    if (fit == std::u16string_view::npos) fit = text.size();
    out.push_back({offset + start, std::u16string(TrimTrailingSpaces(text.substr(start, fit - start)))});
    start = fit;
    while (start < text.size() && text[start] == u' ') ++start;
    if (start >= text.size()) return;
  }
}

}  // namespace

std::vector<TextLine> BreakLines(std::u16string_view text, bool singleLine, bool wordBreak, int maxWidth,
                                 const std::function<int(std::u16string_view)>& width) {
  std::vector<TextLine> lines;
  if (singleLine) {
    lines.push_back({0, std::u16string(text)});
    return lines;
  }
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    const auto paragraph = text.substr(start, end - start);
    if (wordBreak && !paragraph.empty()) {
      WrapParagraph(paragraph, start, maxWidth, width, lines);
    } else {
      lines.push_back({start, std::u16string(paragraph)});
    }
    if (end >= text.size()) break;
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    if (start >= text.size()) break;  // a final line end opens no new line
  }
  return lines;
}

}  // namespace xpkit::text
