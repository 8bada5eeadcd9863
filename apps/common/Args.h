// Strict number, size and colour parsing for the command-line tools.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "xpkit/Error.h"

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

// Prints a tool's usage text on standard output, and returns status 0. Standard output
// that cannot take it (a full disk, a closed pipe) is a FileError, so status 1.
int PrintUsage(const char* text);

// A word the user gave (a file name, an option, a value), quoted for a message, with
// anything that would reach the terminal as a control written as an escape.
std::string Quoted(std::string_view word);

// "WxH" with each side from 1 to `limit`.
bool ParseSize(std::string_view text, int& width, int& height, int limit = 16384);
bool ParseInt(std::string_view text, long long& value);
bool ParseFloat(std::string_view text, float& value);
// "RRGGBB" as the matching 0x00BBGGRR value.
bool ParseRgbHex(std::string_view text, std::uint32_t& colorref);

}  // namespace xpkit::cli
