#include "xpkit/codepage/Utf.h"

#include <cstdint>

namespace xpkit {

int NextCodePoint(std::string_view text, std::size_t at, std::uint32_t& cp) {
  const auto b = static_cast<unsigned char>(text[at]);
  int extra;
  if (b < 0x80) { cp = b; extra = 0; }
  else if (b >= 0xC2 && b <= 0xDF) { cp = b & 0x1F; extra = 1; }  // C0, C1: overlong
  else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
  else if (b >= 0xF0 && b <= 0xF4) { cp = b & 0x07; extra = 3; }  // F5..FF: past U+10FFFF
  else return 0;
  if (at + static_cast<std::size_t>(extra) >= text.size()) return 0;  // truncated
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  // The shortest form only, no encoded surrogates, nothing past U+10FFFF.
  constexpr std::uint32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return extra + 1;
}

std::optional<std::u16string> FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t cp;
    const int length = NextCodePoint(text, i, cp);
    if (length == 0) return std::nullopt;
    i += static_cast<std::size_t>(length);
    char16_t units[2];
    out.append(units, PutUtf16(cp, units));
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = FromSurrogates(text[i], text[i + 1]);
      ++i;
    }
    char bytes[4];
    out.append(bytes, PutUtf8(c, bytes));
  }
  return out;
}

}  // namespace xpkit
