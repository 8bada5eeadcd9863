#include "xpkit/controls/msgbox/detail/ExclamationIcon.h"

#include <algorithm>
#include <cmath>

namespace xpkit {
namespace {

constexpr int kSize = 32;
constexpr int kSub = 4;  // samples per pixel side

struct Rgb {
  double r, g, b;
};

// The distance from (x, y) to the segment from (x1, y1) to (x2, y2).
double ToSegment(double x, double y, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double t = std::clamp(((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

// The colour at a point of the picture, or nothing outside it. The triangle is a smaller
// one grown by the corner radius, which rounds its corners.
bool Sample(double x, double y, Rgb& out) {
  const double radius = 2.0;
  const double ax = 16, ay = 1 + radius * 2.2, bx = 0.5 + radius * 1.4, by = 30.5 - radius, cx = 31.5 - radius * 1.4,
               cy = 30.5 - radius;
  // Signed distances to the three sides of the small triangle (positive inside).
  auto side = [&](double x1, double y1, double x2, double y2) {
    const double nx = y1 - y2, ny = x2 - x1, len = std::hypot(nx, ny);
    return ((x - x1) * nx + (y - y1) * ny) / len;
  };
  const double inside = std::min({side(ax, ay, cx, cy), side(cx, cy, bx, by), side(bx, by, ax, ay)});
  const double outside = std::min({ToSegment(x, y, ax, ay, cx, cy), ToSegment(x, y, cx, cy, bx, by),
                                    ToSegment(x, y, bx, by, ax, ay)});
  // How far inside the grown triangle's edge the point is.
  const double d = inside >= 0 ? inside + radius : radius - outside;
  if (d < 0) return false;
  // The mark: a bar that narrows downwards, and a round dot.
  const double barHalf = 2.2 - (y - 10) * 0.07;
  const bool bar = y >= 10 && y <= 21.5 && std::abs(x - 16) <= barHalf;
  const bool dot = std::hypot(x - 16, y - 25.5) <= 2.1;
  if (bar || dot) {
    out = {0, 0, 0};
  } else if (d < 1.1) {
    out = {196, 132, 0};  // the rim
  } else {
    // Light at the top, deeper yellow at the bottom.
    const double t = std::clamp((y - 3) / 26, 0.0, 1.0);
    out = {255, 246 - 46 * t, 150 - 150 * t};
  }
  return true;
}

}  // namespace

Bitmap MakeExclamationIcon() {
  Bitmap icon(kSize, kSize, 0x00000000u);
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      Rgb sum{0, 0, 0};
      int hits = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
          Rgb c;
          if (!Sample(px + (sx + 0.5) / kSub, py + (sy + 0.5) / kSub, c)) continue;
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
          ++hits;
        }
      if (hits == 0) continue;
      auto channel = [&](double v) { return static_cast<std::uint32_t>(std::lround(v / hits)); };
      const auto alpha = static_cast<std::uint32_t>(hits * 255 / (kSub * kSub));
      icon.Set(px, py, (alpha << 24) | (channel(sum.r) << 16) | (channel(sum.g) << 8) | channel(sum.b));
    }
  return icon;
}

}  // namespace xpkit
