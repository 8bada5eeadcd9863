#include "shell/Layout.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "platform/Utf.h"

namespace xpkit {
namespace {

// The window's frame flags, in the order they are written.
struct FrameFlag {
  const char* key;
  bool FrameStyle::*member;
};
constexpr FrameFlag kFrameFlags[] = {
    {"fixedsize", &FrameStyle::fixedSize}, {"toolwindow", &FrameStyle::toolWindow},
    {"minbutton", &FrameStyle::minButton}, {"maxbutton", &FrameStyle::maxButton},
    {"showintaskbar", &FrameStyle::showInTaskbar}, {"centred", &FrameStyle::centred},
};

const FrameFlag* FindFrameFlag(const std::string& key) {
  for (const FrameFlag& f : kFrameFlags)
    if (key == f.key) return &f;
  return nullptr;
}

constexpr std::string_view kHeader = "xpkit-layout 1";

std::string Lower(std::string s) {
  for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return s;
}

// ---- Reading ----

struct Token {
  enum Kind { Word, Number, Text, Equals } kind;
  std::string text;     // Word, Number: as written
  std::u16string str;   // Text: the decoded characters
};

struct Word {
  std::string text;
};
// A value as written: a stored property's value or a bare word (dock).
using Value = std::variant<bool, std::int32_t, ColorValue, float, std::u16string, FontDesc, Word>;

class Reader {
 public:
  Reader(std::string_view text, const std::string& source) : text_(text), source_(source) {}
  Layout Read();

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw LayoutError(source_, line_, message); }
  bool NextLine();
  std::vector<Token> Tokenize(std::string_view s) const;
  std::u16string DecodeText(std::string_view body) const;
  Value ParseValue(std::size_t from) const;
  std::int32_t ParseInt(const Token& t) const;
  double Number(const Value& v, const std::string& key) const;
  void ReadWindow(WindowLayout& w);
  void ReadControl(ControlLayout& c);
  void ReadLine(LineLayout& l);
  // Reads `key = value` lines up to "end", handing each to `take`; `set` lines go to
  // `properties` when the block has a property set.
  template <class Take>
  void ReadBlock(const std::string& what, PropertyBag* properties, Take take);
  std::string_view text_;
  std::string source_;
  std::size_t pos_ = 0;
  int line_ = 0;
  std::vector<Token> tokens_;
};

bool Reader::NextLine() {
  while (pos_ < text_.size()) {
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view s = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++line_;
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    tokens_ = Tokenize(s);
    if (!tokens_.empty()) return true;
  }
  return false;
}

std::vector<Token> Reader::Tokenize(std::string_view s) const {
  std::vector<Token> out;
  std::size_t i = 0;
  auto isWord = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-' || c == '+';
  };
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ' || c == '\t') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '=') {
      out.push_back({Token::Equals, "=", {}});
      ++i;
    } else if (c == '"') {
      std::size_t j = i + 1;
      while (j < s.size() && s[j] != '"') j += s[j] == '\\' ? 2 : 1;
      if (j >= s.size()) Fail("text has no closing quote");
      out.push_back({Token::Text, std::string(s.substr(i, j + 1 - i)), DecodeText(s.substr(i + 1, j - i - 1))});
      i = j + 1;
    } else if (isWord(c)) {
      std::size_t j = i;
      while (j < s.size() && isWord(s[j])) ++j;
      const std::string w(s.substr(i, j - i));
      const bool number = (w[0] >= '0' && w[0] <= '9') || ((w[0] == '-' || w[0] == '+') && w.size() > 1);
      out.push_back({number ? Token::Number : Token::Word, w, {}});
      i = j;
    } else {
      Fail("unexpected character '" + std::string(1, c) + "'");
    }
  }
  return out;
}

std::u16string Reader::DecodeText(std::string_view body) const {
  std::u16string out;
  std::string raw;  // UTF-8 bytes since the last escape
  auto flush = [&] {
    const auto decoded = FromUtf8(raw);
    if (!decoded) Fail("text is not valid UTF-8");
    out += *decoded;
    raw.clear();
  };
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\\') {
      raw += body[i];
      continue;
    }
    const char e = ++i < body.size() ? body[i] : '\0';
    if (e == '"' || e == '\\') {
      raw += e;
    } else if (e == 'n' || e == 't') {
      raw += e == 'n' ? '\n' : '\t';
    } else if (e == 'u') {
      // Any 16-bit character, NUL included, as four hex digits.
      unsigned v = 0;
      const char* b = body.data() + i + 1;
      const auto r = i + 4 < body.size() ? std::from_chars(b, b + 4, v, 16) : std::from_chars_result{};
      if (i + 4 >= body.size() || r.ec != std::errc() || r.ptr != b + 4) Fail("\\u must be followed by four hex digits");
      flush();
      out += static_cast<char16_t>(v);
      i += 4;
    } else {
      Fail("unknown escape '\\" + std::string(1, e) + "' in text");
    }
  }
  flush();
  return out;
}

std::int32_t Reader::ParseInt(const Token& t) const {
  long long v = 0;
  const char* b = t.text.data() + (t.text[0] == '+');
  const auto r = std::from_chars(b, t.text.data() + t.text.size(), v);
  if (t.kind != Token::Number || r.ec != std::errc() || r.ptr != t.text.data() + t.text.size())
    Fail("'" + t.text + "' is not an integer");
  if (v < INT32_MIN || v > INT32_MAX) Fail("'" + t.text + "' is out of the 32-bit range");
  return static_cast<std::int32_t>(v);
}

Value Reader::ParseValue(std::size_t from) const {
  const auto& t = tokens_;
  if (from >= t.size()) Fail("missing value after '='");
  const Token& first = t[from];
  auto expectEnd = [&](std::size_t next) {
    if (next < t.size()) Fail("unexpected '" + t[next].text + "' after the value");
  };
  if (first.kind == Token::Text) {
    expectEnd(from + 1);
    return first.str;
  }
  if (first.kind == Token::Number) {
    expectEnd(from + 1);
    if (first.text.find_first_of(".eE") == std::string::npos) return ParseInt(first);
    float f = 0;
    const char* b = first.text.data() + (first.text[0] == '+');
    const auto r = std::from_chars(b, first.text.data() + first.text.size(), f);
    if (r.ec != std::errc() || r.ptr != first.text.data() + first.text.size() || !std::isfinite(f))
      Fail("'" + first.text + "' is not a number");
    return f;
  }
  if (first.kind != Token::Word) Fail("missing value after '='");
  if (first.text == "true" || first.text == "false") {
    expectEnd(from + 1);
    return first.text == "true";
  }
  if (first.text == "color") {
    if (from + 1 >= t.size()) Fail("color needs a value such as 0x00AD9177");
    const std::string& h = t[from + 1].text;
    std::uint32_t v = 0;
    const bool hex = h.size() > 2 && h.size() <= 10 && h[0] == '0' && (h[1] == 'x' || h[1] == 'X');
    const auto r = hex ? std::from_chars(h.data() + 2, h.data() + h.size(), v, 16) : std::from_chars_result{};
    if (!hex || r.ec != std::errc() || r.ptr != h.data() + h.size())
      Fail("color must be written as 0x followed by up to 8 hex digits, not '" + h + "'");
    expectEnd(from + 2);
    return ColorValue{v};
  }
  if (first.text == "font") {
    if (from + 2 >= t.size() || t[from + 1].kind != Token::Text || t[from + 2].kind != Token::Number)
      Fail("font must be written as font \"FACE\" SIZE [weight N] [charset N] [italic] [underline] [strikethrough]");
    FontDesc d;
    d.name = t[from + 1].str;
    const char* b = t[from + 2].text.data();
    const auto r = std::from_chars(b, b + t[from + 2].text.size(), d.size);
    if (r.ec != std::errc() || r.ptr != b + t[from + 2].text.size() || !(d.size > 0 && d.size <= 1638))
      Fail("font size must be a number of points from 0 to 1638, not '" + t[from + 2].text + "'");
    for (std::size_t i = from + 3; i < t.size(); ++i) {
      const std::string& w = t[i].text;
      if ((w == "weight" || w == "charset") && i + 1 < t.size()) {
        const std::int32_t n = ParseInt(t[++i]);
        if (w == "weight" && (n < 0 || n > 1000)) Fail("font weight must be 0 to 1000");
        if (w == "charset" && (n < 0 || n > 255)) Fail("font charset must be 0 to 255");
        (w == "weight" ? d.weight : d.charset) = static_cast<std::int16_t>(n);
      } else if (w == "italic") {
        d.italic = true;
      } else if (w == "underline") {
        d.underline = true;
      } else if (w == "strikethrough") {
        d.strikethrough = true;
      } else {
        Fail("unknown font attribute '" + w + "'");
      }
    }
    return d;
  }
  expectEnd(from + 1);
  return Word{first.text};
}

double Reader::Number(const Value& v, const std::string& key) const {
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* f = std::get_if<float>(&v)) return *f;
  Fail("'" + key + "' must be a number");
}

template <class Take>
void Reader::ReadBlock(const std::string& what, PropertyBag* properties, Take take) {
  const int opened = line_;
  std::set<std::string> seen;
  while (NextLine()) {
    if (tokens_.size() == 1 && tokens_[0].kind == Token::Word && tokens_[0].text == "end") return;
    const bool set = tokens_[0].kind == Token::Word && tokens_[0].text == "set";
    const std::size_t k = set ? 1 : 0;
    if (k >= tokens_.size() || tokens_[k].kind != Token::Word || k + 1 >= tokens_.size() ||
        tokens_[k + 1].kind != Token::Equals)
      Fail("expected 'KEY = VALUE', 'set KEY = VALUE' or 'end' in " + what);
    const std::string key = tokens_[k].text;
    if (!seen.insert(Lower(key) + (set ? "/set" : "")).second) Fail("'" + key + "' is given twice in " + what);
    const Value v = ParseValue(k + 2);
    if (set) {
      if (!properties) Fail("a " + what + " has no stored properties");
      if (std::holds_alternative<Word>(v)) Fail("'" + std::get<Word>(v).text + "' is not a value; write texts in quotes");
      std::visit(
          [&](const auto& x) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(x)>, Word>) properties->WriteProperty(key, x);
          },
          v);
    } else {
      take(Lower(key), v);
    }
  }
  line_ = opened;
  Fail(what + " has no 'end'");
}

void Reader::ReadWindow(WindowLayout& w) {
  bool width = false, height = false;
  ReadBlock("window '" + w.name + "'", nullptr, [&](const std::string& key, const Value& v) {
    auto boolean = [&](bool& out) {
      if (!std::holds_alternative<bool>(v)) Fail("'" + key + "' must be true or false");
      out = std::get<bool>(v);
    };
    auto color = [&]() {
      if (!std::holds_alternative<ColorValue>(v)) Fail("'" + key + "' must be a color such as color 0x00AD9177");
      return std::get<ColorValue>(v).value;
    };
    if (key == "caption") {
      if (!std::holds_alternative<std::u16string>(v)) Fail("'caption' must be a text in quotes");
      w.caption = std::get<std::u16string>(v);
    } else if (key == "clientwidth" || key == "clientheight") {
      const double n = Number(v, key);
      if (!(n >= kTwipsPerPixel && n <= 16384.0 * kTwipsPerPixel)) Fail("'" + key + "' must be 15 to 245760 twips");
      (key == "clientwidth" ? w.clientWidth : w.clientHeight) = n;
      (key == "clientwidth" ? width : height) = true;
    } else if (key == "backcolor") {
      w.backColor = color();
    } else if (key == "forecolor") {
      w.foreColor = color();
    } else if (key == "font") {
      if (!std::holds_alternative<FontDesc>(v)) Fail("'font' must be a font");
      w.font = std::get<FontDesc>(v);
    } else if (const FrameFlag* flag = FindFrameFlag(key)) {
      boolean(w.frame.*flag->member);
    } else {
      Fail("unknown window attribute '" + key + "'");
    }
  });
  if (!width || !height) Fail("window '" + w.name + "' needs clientwidth and clientheight");
}

void Reader::ReadControl(ControlLayout& c) {
  std::set<std::string> given;
  ReadBlock("control '" + c.name + "'", &c.properties, [&](const std::string& key, const Value& v) {
    given.insert(key);
    if (key == "left") c.place.left = Number(v, key);
    else if (key == "top") c.place.top = Number(v, key);
    else if (key == "width") c.place.width = Number(v, key);
    else if (key == "height") c.place.height = Number(v, key);
    else if (key == "_extentx" || key == "_extenty") {
      if (!std::holds_alternative<std::int32_t>(v)) Fail("'" + key + "' must be an integer");
      (key == "_extentx" ? c.extentX : c.extentY) = std::get<std::int32_t>(v);
    } else if (key == "dock") {
      const auto* w = std::get_if<Word>(&v);
      if (!w || (w->text != "top" && w->text != "bottom" && w->text != "none"))
        Fail("'dock' must be top, bottom or none");
      c.place.dock = w->text == "top" ? Dock::Top : w->text == "bottom" ? Dock::Bottom : Dock::None;
    } else {
      Fail("unknown control attribute '" + key + "' (stored properties are written 'set " + key + " = ...')");
    }
  });
  for (const char* key : {"left", "top", "width", "height"})
    if (!given.count(key)) Fail("control '" + c.name + "' needs '" + key + "'");
  if (c.place.width < 0 || c.place.height < 0) Fail("control '" + c.name + "' has a negative size");
}

void Reader::ReadLine(LineLayout& l) {
  std::set<std::string> given;
  ReadBlock("line '" + l.name + "'", nullptr, [&](const std::string& key, const Value& v) {
    given.insert(key);
    if (key == "x1") l.x1 = Number(v, key);
    else if (key == "y1") l.y1 = Number(v, key);
    else if (key == "x2") l.x2 = Number(v, key);
    else if (key == "y2") l.y2 = Number(v, key);
    else if (key == "bordercolor") {
      if (!std::holds_alternative<ColorValue>(v)) Fail("'bordercolor' must be a color such as color 0x00FFFFFF");
      l.color = std::get<ColorValue>(v).value;
    } else {
      Fail("unknown line attribute '" + key + "'");
    }
  });
  for (const char* key : {"x1", "y1", "x2", "y2"})
    if (!given.count(key)) Fail("line '" + l.name + "' needs '" + key + "'");
}

Layout Reader::Read() {
  Layout out;
  out.source = source_;
  if (!NextLine() || tokens_.size() != 2 || tokens_[0].text + " " + tokens_[1].text != kHeader)
    Fail("the first line must be '" + std::string(kHeader) + "'");
  if (!NextLine() || tokens_.size() != 2 || tokens_[0].text != "window" || tokens_[1].kind != Token::Word)
    Fail("expected 'window NAME'");
  out.window.name = tokens_[1].text;
  ReadWindow(out.window);
  std::set<std::string> names{out.window.name};
  auto name = [&](std::size_t i) {
    if (i >= tokens_.size() || tokens_[i].kind != Token::Word) Fail("expected a name");
    if (!names.insert(tokens_[i].text).second) Fail("the name '" + tokens_[i].text + "' is used twice");
    return tokens_[i].text;
  };
  auto parent = [&](std::size_t i) {
    if (i + 2 != tokens_.size() || tokens_[i].text != "in" || tokens_[i + 1].kind != Token::Word)
      Fail("expected 'in PARENT' at the end of the line");
    const std::string& p = tokens_[i + 1].text;
    if (!names.count(p)) Fail("unknown parent '" + p + "': a parent must come before its children");
    return p;
  };
  while (NextLine()) {
    const std::string& kind = tokens_[0].text;
    if (kind == "control") {
      ControlLayout c;
      c.line = line_;
      c.name = name(1);
      if (tokens_.size() < 3 || tokens_[2].kind != Token::Word) Fail("expected 'control NAME CLASS in PARENT'");
      c.classId = tokens_[2].text;
      c.parent = parent(3);
      ReadControl(c);
      out.items.emplace_back(std::move(c));
    } else if (kind == "line") {
      LineLayout l;
      l.line = line_;
      l.name = name(1);
      l.parent = parent(2);
      ReadLine(l);
      out.items.emplace_back(std::move(l));
    } else {
      Fail("expected 'control' or 'line', not '" + kind + "'");
    }
  }
  return out;
}

// ---- Writing ----

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

std::string ValueText(const PropertyValue& v) {
  return std::visit(
      [](const auto& x) -> std::string {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) return x ? "true" : "false";
        else if constexpr (std::is_same_v<T, std::int32_t>) return std::to_string(x);
        else if constexpr (std::is_same_v<T, ColorValue>) return Color(x.value);
        else if constexpr (std::is_same_v<T, float>) {
          // A decimal point keeps a whole single apart from an integer.
          std::string s = Num(x);
          return s.find_first_of(".e") == std::string::npos ? s + ".0" : s;
        } else if constexpr (std::is_same_v<T, std::u16string>) return Quote(x);
        else return FontText(x);
      },
      v);
}

}  // namespace

std::int32_t TwipsToHimetric(double twips) { return static_cast<std::int32_t>(std::lround(twips * 2540.0 / 1440.0)); }

Layout ParseLayout(std::string_view text, const std::string& source) { return Reader(text, source).Read(); }

std::string FormatLayout(const Layout& layout) {
  const WindowLayout& w = layout.window;
  std::string out = std::string(kHeader) + "\n\nwindow " + w.name + "\n";
  auto attr = [&](const std::string& key, const std::string& value) { out += "  " + key + " = " + value + "\n"; };
  auto boolean = [](bool b) { return std::string(b ? "true" : "false"); };
  attr("caption", Quote(w.caption));
  attr("clientwidth", Num(w.clientWidth));
  attr("clientheight", Num(w.clientHeight));
  attr("backcolor", Color(w.backColor));
  if (w.foreColor) attr("forecolor", Color(*w.foreColor));
  if (w.font) attr("font", FontText(*w.font));
  for (const FrameFlag& f : kFrameFlags) attr(f.key, boolean(w.frame.*f.member));
  out += "end\n";
  for (const auto& item : layout.items) {
    out += "\n";
    if (const auto* c = std::get_if<ControlLayout>(&item)) {
      out += "control " + c->name + " " + c->classId + " in " + c->parent + "\n";
      if (c->place.dock != Dock::None) attr("dock", c->place.dock == Dock::Top ? "top" : "bottom");
      attr("left", Num(c->place.left));
      attr("top", Num(c->place.top));
      attr("width", Num(c->place.width));
      attr("height", Num(c->place.height));
      attr("_extentx", std::to_string(c->extentX));
      attr("_extenty", std::to_string(c->extentY));
      // Stored keys are matched without regard to case and kept in lower case.
      for (const auto& [key, value] : c->properties.entries()) attr("set " + Lower(key), ValueText(value));
    } else {
      const auto& l = std::get<LineLayout>(item);
      out += "line " + l.name + " in " + l.parent + "\n";
      attr("x1", Num(l.x1));
      attr("y1", Num(l.y1));
      attr("x2", Num(l.x2));
      attr("y2", Num(l.y2));
      attr("bordercolor", Color(l.color));
    }
    out += "end\n";
  }
  return out;
}

}  // namespace xpkit
