// Strict number, size and colour parsing for the command-line tools.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace xpkit::cli {

// "WxH" with each side from 1 to `limit`.
bool ParseSize(std::string_view text, int& width, int& height, int limit = 16384);
bool ParseInt(std::string_view text, long long& value);
bool ParseFloat(std::string_view text, float& value);
// "RRGGBB" as the matching 0x00BBGGRR value.
bool ParseRgbHex(std::string_view text, std::uint32_t& colorref);

}  // namespace xpkit::cli
