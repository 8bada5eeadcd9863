// The renderings xpkit-gallery makes, as functions the tests and tools can call.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/PngFile.h"

namespace xpkit {

struct GradientRequest {
  int width = 0, height = 0;
  float angle = 315;
  std::optional<std::uint32_t> color1, color2;  // 0x00BBGGRR; the painter's defaults if unset
};
// A W x H client area filled by the gradient painter.
Bitmap RenderGradient(const GradientRequest& r);

struct HeaderRequest {
  int width = 0, height = 0;
  std::optional<std::u16string> caption, description;
  std::optional<std::int32_t> borderStyle;
};
// One banner loaded from the given stored values, composed with its edge lines.
Bitmap RenderHeader(const HeaderRequest& r);

}  // namespace xpkit
