#include "common/Args.h"

#include <charconv>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/PrintableName.h"
#include "xpkit/files/FileError.h"

namespace xpkit::cli {

int PrintUsage(const char* text) {
  // Flushed here, while a failure can still set the status; at exit it would be lost.
  if (std::fputs(text, stdout) < 0 || std::fflush(stdout) != 0)
    throw FileError("standard output", std::string("cannot write: ") + std::strerror(errno));
  return 0;
}

std::string Quoted(std::string_view word) {
  std::string quoted(1, '\'');
  quoted += PrintableName(word);
  quoted += '\'';
  return quoted;
}

bool ParseInt(std::string_view text, long long& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseFloat(std::string_view text, float& value) {
  if (text.empty()) return false;
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !(v == v) || v > 3.4e38 || v < -3.4e38) return false;
  value = static_cast<float>(v);
  return true;
}

bool ParseSize(std::string_view text, int& width, int& height, int limit) {
  const auto x = text.find('x');
  long long w, h;
  if (x == std::string_view::npos || !ParseInt(text.substr(0, x), w) || !ParseInt(text.substr(x + 1), h)) return false;
  if (w < 1 || h < 1 || w > limit || h > limit) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool ParseRgbHex(std::string_view text, std::uint32_t& colorref) {
  if (text.size() != 6) return false;
  std::uint32_t rgb = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, rgb, 16);
  if (ec != std::errc() || end != text.data() + 6) return false;
  colorref = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  return true;
}

int RunTool(const char* tool, const std::function<int()>& body) {
  try {
    SystemCodePage();
    return body();
  } catch (const Error& e) {
    std::cerr << tool << ": " << (e.code() == ErrorCode::BadLayout ? "bad layout: " : "") << e.what() << "\n";
    switch (e.code()) {
      case ErrorCode::BadUsage: std::cerr << "Try '" << tool << " --help' for more.\n"; return 2;
      case ErrorCode::BadCodePage:
      case ErrorCode::BadLayout:
      case ErrorCode::NoDisplay: return 2;
      case ErrorCode::DisplayLost:
      default: return 1;
    }
  } catch (const std::bad_alloc&) {
    std::cerr << tool << ": out of memory\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << tool << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace xpkit::cli
