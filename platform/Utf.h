// UTF-8 <-> UTF-16, for file names, arguments, font names and messages.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace xpkit {

// nullopt for anything but well-formed UTF-8: a truncated or stray byte, an overlong
// form (C0 AF), an encoded surrogate (ED A0 80) or a code point past U+10FFFF.
std::optional<std::u16string> FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace xpkit
