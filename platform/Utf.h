// UTF-8 <-> UTF-16, for file names, arguments, font names and messages.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace xpkit {

// nullopt for malformed or truncated UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace xpkit
