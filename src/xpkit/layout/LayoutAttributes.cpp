#include "xpkit/layout/LayoutAttributes.h"

#include <limits>
#include <type_traits>
#include <utility>

#include "xpkit/codepage/Ascii.h"

namespace xpkit {
namespace {

// An attribute held in one field of its block; `at` gives that field of a block (const
// or not). Colours are stored as OLE colours and written as colour values.
template <class Block, auto at>
constexpr Attribute<Block> Field(std::string_view key, AttributeKind kind, bool required = false,
                                 bool (*present)(const Block&) = nullptr) {
  using T = std::decay_t<decltype(at(std::declval<Block&>()))>;
  return {key, kind, required, present,
          [](const Block& b) -> AttributeValue {
            if constexpr (std::is_same_v<T, OLE_COLOR>) return ColorValue{at(b)};
            else return at(b);
          },
          [](Block& b, const AttributeValue& v) {
            if constexpr (std::is_same_v<T, OLE_COLOR>) at(b) = std::get<ColorValue>(v).value;
            else at(b) = std::get<T>(v);
          }};
}

constexpr Attribute<WindowLayout> kWindow[] = {
    Field<WindowLayout, [](auto& w) -> auto& { return w.caption; }>("caption", AttributeKind::Text),
    Field<WindowLayout, [](auto& w) -> auto& { return w.clientWidth; }>("clientwidth", AttributeKind::ClientSize, true),
    Field<WindowLayout, [](auto& w) -> auto& { return w.clientHeight; }>("clientheight", AttributeKind::ClientSize,
                                                                          true),
    Field<WindowLayout, [](auto& w) -> auto& { return w.backColor; }>("backcolor", AttributeKind::Color),
    // The optional ones are written only when the layout has them.
    {"forecolor", AttributeKind::Color, false, [](const WindowLayout& w) { return w.foreColor.has_value(); },
     [](const WindowLayout& w) -> AttributeValue { return ColorValue{w.foreColor.value_or(0)}; },
     [](WindowLayout& w, const AttributeValue& v) { w.foreColor = std::get<ColorValue>(v).value; }},
    {"font", AttributeKind::Font, false, [](const WindowLayout& w) { return w.font.has_value(); },
     [](const WindowLayout& w) -> AttributeValue { return w.font.value_or(FontDesc{}); },
     [](WindowLayout& w, const AttributeValue& v) { w.font = std::get<FontDesc>(v); }},
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.fixedSize; }>("fixedsize", AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.toolWindow; }>("toolwindow", AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.minButton; }>("minbutton", AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.maxButton; }>("maxbutton", AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.showInTaskbar; }>("showintaskbar",
                                                                                 AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.frame.centred; }>("centred", AttributeKind::Boolean),
    Field<WindowLayout, [](auto& w) -> auto& { return w.defaultButton; }>(
        "defaultbutton", AttributeKind::Text, false, [](const WindowLayout& w) { return !w.defaultButton.empty(); }),
    Field<WindowLayout, [](auto& w) -> auto& { return w.cancelButton; }>(
        "cancelbutton", AttributeKind::Text, false, [](const WindowLayout& w) { return !w.cancelButton.empty(); }),
};

constexpr Attribute<ControlLayout> kControl[] = {
    Field<ControlLayout, [](auto& c) -> auto& { return c.place.dock; }>(
        "dock", AttributeKind::Dock, false, [](const ControlLayout& c) { return c.place.dock != Dock::Undocked; }),
    Field<ControlLayout, [](auto& c) -> auto& { return c.place.left; }>("left", AttributeKind::Twips, true),
    Field<ControlLayout, [](auto& c) -> auto& { return c.place.top; }>("top", AttributeKind::Twips, true),
    Field<ControlLayout, [](auto& c) -> auto& { return c.place.width; }>("width", AttributeKind::Size, true),
    Field<ControlLayout, [](auto& c) -> auto& { return c.place.height; }>("height", AttributeKind::Size, true),
    Field<ControlLayout, [](auto& c) -> auto& { return c.extentX; }>("_extentx", AttributeKind::Extent),
    Field<ControlLayout, [](auto& c) -> auto& { return c.extentY; }>("_extenty", AttributeKind::Extent),
};

constexpr Attribute<LineLayout> kLine[] = {
    Field<LineLayout, [](auto& l) -> auto& { return l.x1; }>("x1", AttributeKind::Twips, true),
    Field<LineLayout, [](auto& l) -> auto& { return l.y1; }>("y1", AttributeKind::Twips, true),
    Field<LineLayout, [](auto& l) -> auto& { return l.x2; }>("x2", AttributeKind::Twips, true),
    Field<LineLayout, [](auto& l) -> auto& { return l.y2; }>("y2", AttributeKind::Twips, true),
    Field<LineLayout, [](auto& l) -> auto& { return l.color; }>("bordercolor", AttributeKind::Color),
};

}  // namespace

std::string LowerKey(std::string key) {
  for (char& c : key) c = AsciiLower(c);
  return key;
}

std::span<const Attribute<WindowLayout>> WindowAttributes() { return kWindow; }
std::span<const Attribute<ControlLayout>> ControlAttributes() { return kControl; }
std::span<const Attribute<LineLayout>> LineAttributes() { return kLine; }

NumberRange RangeOf(AttributeKind kind) {
  switch (kind) {
    // The host's placement ranges, in twips; a window is at least a pixel either way.
    case AttributeKind::Twips: return {kPositionPixels.min * kTwipsPerPixel, kPositionPixels.max * kTwipsPerPixel};
    case AttributeKind::Size: return {kSizePixels.min * kTwipsPerPixel, kSizePixels.max * kTwipsPerPixel};
    case AttributeKind::ClientSize: return {kTwipsPerPixel, kMaxLayoutTwips};
    default: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
  }
}

}  // namespace xpkit
