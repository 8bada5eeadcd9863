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
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace xpkit
