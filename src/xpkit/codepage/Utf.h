// UTF-8 <-> UTF-16, for file names, arguments, font names and messages.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xpkit {

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }
// The code point of a high and a low surrogate.
constexpr std::uint32_t FromSurrogates(char16_t high, char16_t low) {
  return 0x10000 + ((std::uint32_t{high} - 0xD800) << 10) + (low - 0xDC00u);
}

// A code point as UTF-8 into `out`, which has room for four bytes; returns the bytes
// written. Inline: the code pages convert whole texts a character at a time with it.
inline std::size_t PutUtf8(std::uint32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

// A code point as UTF-16 into `out`: one unit, or a surrogate pair past U+FFFF; returns
// the units written.
inline std::size_t PutUtf16(std::uint32_t c, char16_t* out) {
  if (c < 0x10000) {
    out[0] = static_cast<char16_t>(c);
    return 1;
  }
  out[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  return 2;
}

// The well-formed UTF-8 sequence at text[at] (at < text.size()): its code point in `cp`
// and its length in bytes, or 0 where the bytes there are not one.
int NextCodePoint(std::string_view text, std::size_t at, std::uint32_t& cp);
// nullopt for anything but well-formed UTF-8: a truncated or stray byte, an overlong
// form (C0 AF), an encoded surrogate (ED A0 80) or a code point past U+10FFFF.
std::optional<std::u16string> FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace xpkit
