#include "xpkit/backends/sdl2/detail/DesktopScale.h"

#include <charconv>
#include <cstdlib>

namespace xpkit {

std::optional<int> ParseScale(std::string_view text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > kMaxScale) return std::nullopt;
  return n;
}

int ScaleForDpi(double dpi) {
  // 96 DPI is scale 1; each step starts half way to the next multiple of 96.
  if (dpi >= 336) return 4;
  if (dpi >= 240) return 3;
  if (dpi >= 144) return 2;
  return 1;
}

int DesktopScale(x11::Handle display) {
  if (const char* gdk = std::getenv("GDK_SCALE")) {
    int n = 0;
    const std::string_view s(gdk);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec == std::errc() && end == s.data() + s.size() && n >= 1) return n < kMaxScale ? n : kMaxScale;
  }
  return ScaleForDpi(x11::XftDpi(display));
}

}  // namespace xpkit
