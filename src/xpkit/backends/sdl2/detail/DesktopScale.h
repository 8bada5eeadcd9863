// How many physical pixels a client pixel takes on a dense screen: an integer, so that
// every look stays exact.
#pragma once
#include <optional>
#include <string_view>

#include "xpkit/backends/sdl2/detail/X11Window.h"

namespace xpkit {

constexpr int kMaxScale = 4;

// "1" to "4"; nothing for anything else.
std::optional<int> ParseScale(std::string_view text);
// The scale for a screen of `dpi` dots per inch: 1 below 144, 2 from 144, 3 from 240,
// 4 from 336.
int ScaleForDpi(double dpi);
// The desktop's choice: GDK_SCALE (up to 4), else the Xft.dpi resource, else 1.
int DesktopScale(x11::Handle display);

}  // namespace xpkit
