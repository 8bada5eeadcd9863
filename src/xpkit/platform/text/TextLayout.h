// DrawText's text handling: "&" prefixes and the breaking of text into lines.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xpkit::text {

// "&" hides itself and marks the next character for underlining; "&&" stands for one "&";
// a lone "&" at the end is dropped. The last marked character wins.
struct PrefixedText {
  std::u16string text;
  int underline = -1;  // index in `text`, or -1
};
PrefixedText StripPrefixes(std::u16string_view source);

struct TextLine {
  std::size_t start = 0;  // offset of the line in the text
  std::u16string text;    // without the break's spaces and line-end characters
};

// Splits at CR LF, CR and LF (unless `singleLine`); with `wordBreak`, also at spaces so
// that a line fits `maxWidth` as measured by `width`. A word wider than `maxWidth` is not
// broken: it takes a line of its own.
std::vector<TextLine> BreakLines(std::u16string_view text, bool singleLine, bool wordBreak, int maxWidth,
                                 const std::function<int(std::u16string_view)>& width);

}  // namespace xpkit::text
