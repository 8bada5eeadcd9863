// A window's layout: the window's attributes, then its controls and lines in the order
// the window creates them, each control with its placement in twips, its extent in
// HIMETRIC and its stored property set. Read from and written to a small text format,
// described in docs/layout.md:
//
//   xpkit-layout 1
//   window frmMain
//     clientwidth = 4965
//     backcolor = color 0x00AD9177
//   end
//   control cmdExit Morvel.XPButton in Footer
//     left = 1575
//     set caption = "Exit"
//   end
//   line Line1 in frmMain
//     x1 = 0
//   end
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "xpkit/host/Container.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/PropertyBag.h"
#include "xpkit/layout/LayoutError.h"
#include "xpkit/platform/Font.h"

namespace xpkit {

class ControlRegistry;

// Positions, sizes and line ends reach at most kMaxControlPixels either way.
constexpr double kMaxLayoutTwips = double{kMaxControlPixels} * kTwipsPerPixel;

struct WindowLayout {
  std::string name;
  std::u16string caption;
  double clientWidth = 0, clientHeight = 0;  // twips
  OLE_COLOR backColor = 0x8000000F;
  std::optional<OLE_COLOR> foreColor;
  std::optional<FontDesc> font;
  FrameStyle frame;
  std::u16string defaultButton, cancelButton;  // names of controls; empty: none
};

struct ControlLayout {
  std::string name, classId, parent;
  Placement place;                        // twips in the parent
  std::int32_t extentX = 0, extentY = 0;  // HIMETRIC
  PropertyBag properties;
  int line = 0;  // where the block starts, for errors found while creating it
};

struct LineLayout {
  std::string name, parent;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  OLE_COLOR color = 0x80000008;
  int line = 0;
};

struct Layout {
  std::string source;  // the file name errors are reported against
  WindowLayout window;
  std::vector<std::variant<ControlLayout, LineLayout>> items;  // in creation order
};

// HIMETRIC extent of a size in twips: 2540 per inch, 1440 twips per inch.
std::int32_t TwipsToHimetric(double twips);

// Parses `text` (UTF-8). Each control's class must be one of `registry`'s and each stored
// property one of its class's, of the class's type; every fault is a LayoutError naming
// `source`, the line and, where there is one, the key.
Layout ParseLayout(std::string_view text, const std::string& source, const ControlRegistry& registry);
// The same with the kit's own classes.
Layout ParseLayout(std::string_view text, const std::string& source);
// The text ParseLayout reads back to the same layout. A text or face name longer than
// the reader takes (a program may set one) is an Error(BadLayout) naming the window or
// control and the key: what the kit writes, it reads back.
std::string FormatLayout(const Layout& layout);

}  // namespace xpkit
