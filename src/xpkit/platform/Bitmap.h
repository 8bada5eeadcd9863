// A 32-bit image: pixels 0xAARRGGBB, row-major, top row first.
#pragma once
#include <cstdint>
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, std::uint32_t argb = 0xFF000000u)
      : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height),
        pixels_(static_cast<std::size_t>(width_) * height_, argb) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, std::uint32_t argb) { pixels_[Index(x, y)] = argb; }
  // The colour of a pixel as a COLORREF, alpha dropped.
  COLORREF ColorAt(int x, int y) const { return ToColorRef(At(x, y)); }
  std::uint8_t AlphaAt(int x, int y) const { return static_cast<std::uint8_t>(At(x, y) >> 24); }

  void Fill(std::uint32_t argb) { pixels_.assign(pixels_.size(), argb); }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  std::uint32_t* data() { return pixels_.data(); }

  bool operator==(const Bitmap&) const = default;

  static constexpr std::uint32_t FromColorRef(COLORREF c, std::uint8_t alpha = 0xFF) {
    return (static_cast<std::uint32_t>(alpha) << 24) | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | static_cast<std::uint32_t>(GetBValue(c));
  }
  static constexpr COLORREF ToColorRef(std::uint32_t argb) {
    return RGB(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
               static_cast<int>(argb & 0xFF));
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace xpkit
