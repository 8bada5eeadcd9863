// Strict number, size and colour parsing for the command-line tools.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "xpkit/platform/Error.h"

namespace xpkit::cli {

// A mistake in how the tool was called: exit status 2, and a pointer to --help.
struct UsageError : Error {
  explicit UsageError(const std::string& message) : Error(ErrorCode::BadUsage, {}, message) {}
};

// Runs a tool's body after checking the system code page, and is the one place where
// its failures are caught and reported on standard error as "tool: message". Returns
// the body's status; 2 for bad usage (with a pointer to --help), a bad XPKIT_CODEPAGE, a
// bad layout or no display; 1 for any other failure.
int RunTool(const char* tool, const std::function<int()>& body);

// "WxH" with each side from 1 to `limit`.
bool ParseSize(std::string_view text, int& width, int& height, int limit = 16384);
bool ParseInt(std::string_view text, long long& value);
bool ParseFloat(std::string_view text, float& value);
// "RRGGBB" as the matching 0x00BBGGRR value.
bool ParseRgbHex(std::string_view text, std::uint32_t& colorref);

}  // namespace xpkit::cli
