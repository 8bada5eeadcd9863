// The renderings xpkit-gallery makes, as functions the tests and tools can call.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/PngFile.h"

namespace xpkit {

// The largest picture the gallery makes, so that every subcommand takes a fraction of a
// second and little memory (bench/gallery_limits.sh measures them): at most kMaxSide
// pixels a side and kMaxPixels in all.
constexpr int kMaxSide = 2048;
constexpr int kMaxPixels = 2048 * 1024;
bool FitsPicture(int width, int height);

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

enum class ButtonLook { Normal, Hover, Focus, Pressed, Disabled };
// Parses "normal", "hover", "focus", "pressed" or "disabled".
std::optional<ButtonLook> ParseButtonLook(std::string_view name);

struct ButtonRequest {
  int width = 106, height = 22;
  ButtonLook look = ButtonLook::Normal;
  std::u16string caption = u"\u062E\u0631\u0648\u062C";  // the main window's Exit caption
  std::u16string fontFace = u"Tahoma";
  double fontSize = 8.25;
};
// One button brought into the look by the input that shows it (pointer over it, the
// focus, a left press, or disabled), composed with its corners cut off (alpha 0).
Bitmap RenderButton(const ButtonRequest& r);

struct MsgBoxRequest {
  std::u16string text;
  std::u16string caption = u"xpkit";
};
// The kit's message box as a small tool window would frame it: a title bar with the
// caption and a close box over the dialog's client area. Error(BadUsage) when the text
// makes the picture larger than the bounds above.
Bitmap RenderMsgBox(const MsgBoxRequest& r);

}  // namespace xpkit
