#include "xpkit/layout/detail/LayoutBounds.h"

#include "xpkit/host/ControlSurface.h"

namespace xpkit {
namespace {

constexpr std::size_t kEchoCharacters = 80;

std::string Budget() {
  return "budget of " + std::to_string(kMaxLayoutPixels) +
         " pixels for the window's client area and every control's image";
}

}  // namespace

std::string Echo(std::string_view written) {
  std::size_t characters = 0, cut = 0;
  for (; cut < written.size(); ++cut) {
    const bool starts = (static_cast<unsigned char>(written[cut]) & 0xC0) != 0x80;
    if (starts && characters++ == kEchoCharacters) break;
  }
  std::string out = "'";
  out.append(written.substr(0, cut));
  if (cut == written.size()) return out += '\'';
  return out += "…' (" + std::to_string(written.size()) + " bytes in all)";
}

std::optional<std::string> LayoutBounds::Window(const WindowLayout& window) {
  const std::int64_t w = TwipsToPixels(window.clientWidth), h = TwipsToPixels(window.clientHeight);
  boxes_[window.name] = {0, false, w};
  pixels_ = w * h;
  if (pixels_ <= kMaxLayoutPixels) return std::nullopt;
  return "window " + Echo(window.name) + " is " + std::to_string(w) + " x " + std::to_string(h) +
         " pixels, past the layout's " + Budget();
}

std::optional<std::string> LayoutBounds::Enter(const std::string& name, const std::string& parent, bool control) {
  if (++items_ > kMaxLayoutItems)
    return "a layout holds at most " + std::to_string(kMaxLayoutItems) + " controls and lines; " + Echo(name) +
           " is one more";
  const int depth = boxes_.at(parent).depth + 1;
  if (control && depth > kMaxLayoutDepth)
    return "control " + Echo(name) + " would lie " + std::to_string(depth) + " deep; controls nest at most " +
           std::to_string(kMaxLayoutDepth) + " deep (those in the window are 1 deep)";
  return std::nullopt;
}

std::optional<std::string> LayoutBounds::Control(const ControlLayout& c, int scaleMode) {
  const Box& parent = boxes_.at(c.parent);
  auto px = [&](double units) {
    return static_cast<std::int64_t>(RoundHalfEven(parent.pixels ? units : units / kTwipsPerPixel));
  };
  const std::int64_t w = c.place.dock == Dock::Undocked ? px(c.place.width) : parent.widthPx;
  const std::int64_t h = px(c.place.height);
  boxes_[c.name] = {parent.depth + 1, scaleMode == vbPixels, w};
  pixels_ += (w + kControlMargin) * (h + kControlMargin);
  if (pixels_ <= kMaxLayoutPixels) return std::nullopt;
  return "control " + Echo(c.name) + " (" + std::to_string(w) + " x " + std::to_string(h) +
         " pixels) takes the layout past its " + Budget();
}

}  // namespace xpkit
