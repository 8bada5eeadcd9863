// UTF-8 <-> UTF-16, for file names, arguments, font names and messages.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xpkit {

// The well-formed UTF-8 sequence at text[at] (at < text.size()): its code point in `cp`
// and its length in bytes, or 0 where the bytes there are not one.
int NextCodePoint(std::string_view text, std::size_t at, std::uint32_t& cp);
// nullopt for anything but well-formed UTF-8: a truncated or stray byte, an overlong
// form (C0 AF), an encoded surrogate (ED A0 80) or a code point past U+10FFFF.
std::optional<std::u16string> FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace xpkit
