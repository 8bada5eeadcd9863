#include "xpkit/codepage/PrintableName.h"

#include <cstdint>
#include <cstdio>

#include "xpkit/codepage/Utf.h"

namespace xpkit {
namespace {

// Code points that are printable in the UTF-8 sense yet change how a terminal lays out
// the line: the C1 controls (some terminals take U+009B as CSI), line and paragraph
// separators, and the marks, embeddings, overrides and isolates of bidirectional text.
bool ShapesTheLine(std::uint32_t cp) {
  return (cp >= 0x80 && cp <= 0x9F) || cp == 0x200E || cp == 0x200F || (cp >= 0x2028 && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

void AppendHex(std::string& out, const char* format, unsigned value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, format, value);
  out += buf;
}

}  // namespace

std::string PrintableName(std::string_view name) {
  static constexpr char kNamed[] = "abtnvfr";  // \a (7) to \r (13)
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    std::uint32_t cp = 0;
    const int length = NextCodePoint(name, i, cp);
    if (b == '\\') {
      out += "\\\\";
    } else if (b >= 7 && b <= 13) {
      out += '\\';
      out += kNamed[b - 7];
    } else if (length == 0 || b < 0x20 || b == 0x7F) {
      AppendHex(out, "\\x%02x", b);
    } else if (ShapesTheLine(cp)) {
      AppendHex(out, "\\u%04x", cp);
    } else {
      out.append(name, i, static_cast<std::size_t>(length));
    }
    i += length == 0 ? 1 : static_cast<std::size_t>(length);
  }
  return out;
}

}  // namespace xpkit
