// The bounds a layout is held to beyond those of single values, checked while it is
// read: how deep controls nest, how many controls and lines it has, and how many pixels
// the window and its controls' images take together. Sizes are counted in pixels as the
// controls will have them: inside a control that draws in pixels (a button) a size is
// pixels, not twips, and a docked control is as wide as its parent. Within these bounds
// any layout builds, draws and saves in well under a second and 256 MB (bench/
// layout_bounds.sh measures the worst).
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "xpkit/layout/Layout.h"

namespace xpkit {

// Controls inside controls: a control in the window is 1 deep.
constexpr int kMaxLayoutDepth = 64;
// Controls and lines together.
constexpr int kMaxLayoutItems = 2048;
// The window's client area and every control's image, in pixels: 16 MiB of images, a
// window of 2048 x 2048 pixels or some forty times the program's own with its controls.
constexpr std::int64_t kMaxLayoutPixels = std::int64_t{1} << 22;
// A control counts this much wider and higher than it is, for the work its drawing does
// along every row and column whatever its area: a banner's gradient strokes a line per
// pixel of its longer side, and each line costs as much as some 16 pixels of image.
constexpr std::int64_t kControlMargin = 16;

// A word or text of a layout as a message echoes it: in quotes, and past 80 characters
// cut at a character's start, marked with "…" and its whole length.
std::string Echo(std::string_view written);

class LayoutBounds {
 public:
  // The window's client area; a fault past the budget.
  std::optional<std::string> Window(const WindowLayout& window);
  // One more control (or line) in `parent`, a name already known: a fault when there are
  // too many, or when the control would nest too deep.
  std::optional<std::string> Enter(const std::string& name, const std::string& parent, bool control);
  // Whether sizes and positions in `parent` are pixels rather than twips.
  bool InPixels(const std::string& parent) const { return boxes_.at(parent).pixels; }
  // A control read whole, of a class placing its own children in `scaleMode`: its image
  // counted; a fault past the budget.
  std::optional<std::string> Control(const ControlLayout& c, int scaleMode);

 private:
  struct Box {
    int depth = 0;
    bool pixels = false;  // its children are placed in pixels
    std::int64_t widthPx = 0;
  };
  std::map<std::string, Box, std::less<>> boxes_;  // the window and the controls, by name
  int items_ = 0;
  std::int64_t pixels_ = 0;
};

}  // namespace xpkit
