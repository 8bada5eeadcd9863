// The attributes of a layout's window, control and line blocks: each key with its kind
// and where its value goes, one table per block, walked alike by the reader and the
// writer.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "xpkit/layout/Layout.h"

namespace xpkit {

enum class AttributeKind {
  Text,
  Twips,       // a position or line end: up to 16384 pixels either way
  Size,        // a width or height: 0 to 16384 pixels
  ClientSize,  // a window's client width or height: 1 to 16384 pixels
  Extent,      // any 32-bit integer
  Boolean,
  Color,
  Font,
  Dock,
};

using AttributeValue = std::variant<bool, std::int32_t, double, ColorValue, std::u16string, FontDesc, Dock>;

template <class Block>
struct Attribute {
  std::string_view key;
  AttributeKind kind;
  bool required;
  bool (*present)(const Block&);  // written only when it holds; nullptr: always written
  AttributeValue (*get)(const Block&);
  void (*set)(Block&, const AttributeValue&);
};

// Keys are matched without regard to case and written in lower case.
std::string LowerKey(std::string key);

std::span<const Attribute<WindowLayout>> WindowAttributes();
std::span<const Attribute<ControlLayout>> ControlAttributes();
std::span<const Attribute<LineLayout>> LineAttributes();

// The range of a number kind, in twips or plain integers.
struct NumberRange {
  double min, max;
};
NumberRange RangeOf(AttributeKind kind);

}  // namespace xpkit
