// The layout text of a Layout: the attribute tables in order, then each control's stored
// properties as its save wrote them, keys in lower case.
#include <charconv>
#include <cstdio>

#include "xpkit/Error.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutAttributes.h"
#include "xpkit/layout/detail/LayoutBounds.h"
#include "xpkit/platform/text/TextLimits.h"

namespace xpkit {
namespace {

std::string Num(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string Quote(const std::u16string& s) {
  std::string out = "\"";
  for (char16_t c : s) {
    if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += ToUtf8(std::u16string(1, c));
    }
  }
  return out + "\"";
}

std::string Color(OLE_COLOR c) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "color 0x%08X", static_cast<unsigned>(c));
  return buf;
}

std::string FontText(const FontDesc& d) {
  std::string s = "font " + Quote(d.name) + " " + Num(d.size) + " weight " + std::to_string(d.weight) + " charset " +
                  std::to_string(d.charset);
  if (d.italic) s += " italic";
  if (d.underline) s += " underline";
  if (d.strikethrough) s += " strikethrough";
  return s;
}

// Every value as the reader takes it back: numbers shortest and exact, a whole single
// with a decimal point so that it stays apart from an integer.
template <class Value>
std::string ValueText(const Value& v) {
  return std::visit(
      [](const auto& x) -> std::string {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) return x ? "true" : "false";
        else if constexpr (std::is_same_v<T, std::int32_t>) return std::to_string(x);
        else if constexpr (std::is_same_v<T, double>) return Num(x);
        else if constexpr (std::is_same_v<T, ColorValue>) return Color(x.value);
        else if constexpr (std::is_same_v<T, float>) {
          std::string s = Num(x);
          return s.find_first_of(".e") == std::string::npos ? s + ".0" : s;
        } else if constexpr (std::is_same_v<T, std::u16string>) return Quote(x);
        else if constexpr (std::is_same_v<T, FontDesc>) return FontText(x);
        else return x == Dock::Top ? "top" : x == Dock::Bottom ? "bottom" : "none";
      },
      v);
}

// `key = value` of `block` (the window or a control, as a message names it). A text or
// face name longer than the reader takes, which a program may set, is refused: the
// layout would not read back.
template <class Value>
std::string Entry(const std::string& block, std::string_view key, const Value& v) {
  std::string why;
  if (const auto* s = std::get_if<std::u16string>(&v)) why = TooLong(*s, kMaxText, "text");
  if (const auto* f = std::get_if<FontDesc>(&v)) why = TooLong(f->name, kMaxFaceName, "face name");
  if (!why.empty())
    throw Error(ErrorCode::BadLayout, {},
                "cannot write " + block + ": " + (std::holds_alternative<FontDesc>(v) ? "the face name of '" : "'") +
                    std::string(key) + "' " + why);
  return std::string(key) + " = " + ValueText(v) + "\n";
}

template <class Block>
void Attributes(std::string& out, const std::string& block, std::span<const Attribute<Block>> attributes,
                const Block& b) {
  for (const Attribute<Block>& a : attributes)
    if (!a.present || a.present(b)) out += "  " + Entry(block, a.key, a.get(b));
}

}  // namespace

std::string FormatLayout(const Layout& layout) {
  std::string out = "xpkit-layout 1\n\nwindow " + layout.window.name + "\n";
  Attributes(out, "window " + Echo(layout.window.name), WindowAttributes(), layout.window);
  out += "end\n";
  for (const auto& item : layout.items) {
    out += "\n";
    if (const auto* c = std::get_if<ControlLayout>(&item)) {
      out += "control " + c->name + " " + c->classId + " in " + c->parent + "\n";
      const std::string block = "control " + Echo(c->name);
      Attributes(out, block, ControlAttributes(), *c);
      // Stored keys are matched without regard to case and kept in lower case.
      for (const auto& [key, value] : c->properties.entries()) out += "  set " + Entry(block, LowerKey(key), value);
    } else {
      const auto& l = std::get<LineLayout>(item);
      out += "line " + l.name + " in " + l.parent + "\n";
      Attributes(out, "line " + Echo(l.name), LineAttributes(), l);
    }
    out += "end\n";
  }
  return out;
}

}  // namespace xpkit
