#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <set>
#include <utility>

#include "xpkit/codepage/Utf.h"
#include "xpkit/layout/ControlRegistry.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutAttributes.h"
#include "xpkit/layout/LayoutError.h"
#include "xpkit/layout/detail/LayoutBounds.h"
#include "xpkit/platform/text/TextLimits.h"

namespace xpkit {
namespace {

constexpr std::string_view kHeader = "xpkit-layout 1";

struct Token {
  enum Kind { Word, Number, Text, Equals } kind;
  std::string text;  // as written; for a text, what lies between the quotes
};

// A value as written, before the key it is given to says what it must be.
struct Number {
  std::string text;
};
struct Word {
  std::string text;
};
using Written = std::variant<bool, Number, Word, ColorValue, std::u16string, FontDesc>;

// A value as an error message shows it: what was written where it is short, else its kind.
std::string Shown(const Written& v) {
  if (const bool* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  if (const Number* n = std::get_if<Number>(&v)) return Echo(n->text);
  if (const Word* w = std::get_if<Word>(&v)) return Echo(w->text);
  if (std::holds_alternative<ColorValue>(v)) return "a color";
  if (std::holds_alternative<std::u16string>(v)) return "a text";
  return "a font";
}

// What a word-valued key wants, with a hint where the word was written in capitals.
std::string LowerCaseHint(const Written& v, const std::string& wanted) {
  const Word* w = std::get_if<Word>(&v);
  const bool capitals = w && std::any_of(w->text.begin(), w->text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  return wanted + (capitals ? " (in lower case)" : "");
}

// The bytes of the UTF-8 character that starts with `lead` (1 for a stray byte).
std::size_t CharacterLength(char lead) {
  const auto b = static_cast<unsigned char>(lead);
  return b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
}

// The character at the start of `s` as a message shows it: itself when it can be
// printed, else its code (a control character, or a byte of a broken character).
std::string Shown(std::string_view s) {
  const auto b = static_cast<unsigned char>(s[0]);
  const std::size_t n = CharacterLength(s[0]);
  const auto ch = FromUtf8(s.substr(0, std::min(n, s.size())));
  char code[16];
  if (!ch || ch->empty()) {
    std::snprintf(code, sizeof code, "byte 0x%02X", b);
    return code;
  }
  const char16_t c = (*ch)[0];
  if (c < 0x20 || c == 0x7F || c == 0xFEFF) {
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return code;
  }
  return "'" + std::string(s.substr(0, n)) + "'";
}

class Reader {
 public:
  Reader(std::string_view text, const std::string& source, const ControlRegistry& registry)
      : text_(text), source_(source), registry_(registry) {}
  Layout Read();

 private:
  [[noreturn]] void Fail(const std::string& message, const std::string& key = {}) const {
    throw LayoutError(source_, line_, message, key);
  }
  // "KEY must be WHAT, not VALUE".
  [[noreturn]] void Want(const Written& v, const std::string& key, const std::string& what) const {
    Fail(Echo(key) + " must be " + what + ", not " + Shown(v), key);
  }
  bool NextLine();
  std::vector<Token> Tokenize(std::string_view s) const;
  std::u16string DecodeText(std::string_view body, const std::string& key) const;
  std::int32_t ParseInt(const std::string& text, const std::string& key) const;
  Written ParseValue(std::size_t from, const std::string& key) const;
  // `note` follows the range in the message.
  double ToNumber(const Written& v, const std::string& key, NumberRange range, const std::string& note = {}) const;
  // A value of the kind or type its key wants, or a fault saying what it must be.
  AttributeValue ToAttribute(const Written& v, AttributeKind kind, const std::string& key) const;
  PropertyValue ToProperty(const Written& v, PropertyType type, const std::string& key) const;
  template <class T>
  T As(const Written& v, const std::string& key) const;
  // Reads `key = value` lines up to "end": attributes from `attributes`, and `set` lines
  // for the stored properties of `cls` when the block has them.
  template <class Block>
  void ReadBlock(const std::string& what, std::span<const Attribute<Block>> attributes, Block& block,
                 const ControlClass* cls, PropertyBag* properties);
  // The same for a block in `parent`, whose positions and sizes are in its unit.
  template <class Block>
  void ReadBlockIn(const std::string& parent, const std::string& what, std::span<const Attribute<Block>> attributes,
                   Block& block, const ControlClass* cls, PropertyBag* properties) {
    pixelParent_ = bounds_.InPixels(parent) ? parent : std::string();
    ReadBlock(what, attributes, block, cls, properties);
    pixelParent_.clear();
  }
  std::string_view text_;
  std::string source_;
  const ControlRegistry& registry_;
  std::size_t pos_ = 0;
  int line_ = 0;
  std::vector<Token> tokens_;
  LayoutBounds bounds_;
  std::string pixelParent_;  // the parent of the block being read, when it places it in pixels
};

bool Reader::NextLine() {
  while (pos_ < text_.size()) {
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view s = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++line_;
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    if (line_ == 1) {
      if (s.starts_with("\xEF\xBB\xBF")) s.remove_prefix(3);  // an editor's UTF-8 byte-order mark
      if (s.starts_with("\xFF\xFE") || s.starts_with("\xFE\xFF"))
        Fail("the file is UTF-16; a layout is UTF-8 text");
    }
    // The whole line, comments included, is UTF-8: no other encoding slips through.
    if (!FromUtf8(s)) Fail("line is not valid UTF-8");
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
      out.push_back({Token::Equals, "="});
      ++i;
    } else if (c == '"') {
      std::size_t j = i + 1;
      while (j < s.size() && s[j] != '"') j += s[j] == '\\' ? 2 : 1;
      if (j >= s.size()) Fail("text has no closing quote");
      out.push_back({Token::Text, std::string(s.substr(i + 1, j - i - 1))});
      i = j + 1;
    } else if (isWord(c)) {
      std::size_t j = i;
      while (j < s.size() && isWord(s[j])) ++j;
      const std::string w(s.substr(i, j - i));
      const bool number = (w[0] >= '0' && w[0] <= '9') || ((w[0] == '-' || w[0] == '+') && w.size() > 1);
      out.push_back({number ? Token::Number : Token::Word, w});
      i = j;
    } else {
      Fail("unexpected character " + Shown(s.substr(i)));
    }
  }
  return out;
}

std::u16string Reader::DecodeText(std::string_view body, const std::string& key) const {
  std::u16string out;
  std::string raw;  // UTF-8 bytes since the last escape
  auto flush = [&] {
    const auto decoded = FromUtf8(raw);
    if (!decoded) Fail("text is not valid UTF-8", key);
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
      if (i + 4 >= body.size() || r.ec != std::errc() || r.ptr != b + 4)
        Fail("\\u must be followed by four hex digits in " + Echo(key), key);
      flush();
      out += static_cast<char16_t>(v);
      i += 4;
    } else {
      Fail("unknown escape '\\" + std::string(body.substr(i, CharacterLength(e))) + "' in the text of " + Echo(key) +
               " (known: \\\" \\\\ \\n \\t \\uXXXX)",
           key);
    }
  }
  flush();
  return out;
}

std::int32_t Reader::ParseInt(const std::string& text, const std::string& key) const {
  long long v = 0;
  const char* b = text.data() + (text[0] == '+');
  const auto r = std::from_chars(b, text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range || (r.ec == std::errc() && (v < INT32_MIN || v > INT32_MAX)))
    Fail(Echo(key) + " must be a 32-bit integer; " + Echo(text) + " is out of range", key);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    Fail(Echo(key) + " must be an integer, not " + Echo(text), key);
  return static_cast<std::int32_t>(v);
}

Written Reader::ParseValue(std::size_t from, const std::string& key) const {
  const auto& t = tokens_;
  if (from >= t.size()) Fail("missing value after '" + key + " ='", key);
  const Token& first = t[from];
  auto expectEnd = [&](std::size_t next) {
    if (next < t.size()) Fail("unexpected " + Echo(t[next].text) + " after the value of " + Echo(key), key);
  };
  switch (first.kind) {
    case Token::Text: {
      expectEnd(from + 1);
      std::u16string text = DecodeText(first.text, key);
      if (const std::string why = TooLong(text, kMaxText, "text"); !why.empty()) Fail("'" + key + "' " + why, key);
      return text;
    }
    case Token::Number: expectEnd(from + 1); return Number{first.text};
    case Token::Equals: Fail("missing value after '" + key + " ='", key);
    case Token::Word: break;
  }
  if (first.text == "true" || first.text == "false") {
    expectEnd(from + 1);
    return first.text == "true";
  }
  if (first.text == "color") {
    if (from + 1 >= t.size()) Fail(Echo(key) + ": color needs a value such as 0x00AD9177", key);
    const std::string& h = t[from + 1].text;
    std::uint32_t v = 0;
    const bool hex = h.size() > 2 && h.size() <= 10 && h[0] == '0' && (h[1] == 'x' || h[1] == 'X');
    const auto r = hex ? std::from_chars(h.data() + 2, h.data() + h.size(), v, 16) : std::from_chars_result{};
    if (!hex || r.ec != std::errc() || r.ptr != h.data() + h.size())
      Fail(Echo(key) + ": color must be written as 0x followed by up to 8 hex digits, not " + Echo(h), key);
    expectEnd(from + 2);
    return ColorValue{v};
  }
  if (first.text == "font") {
    if (from + 2 >= t.size() || t[from + 1].kind != Token::Text || t[from + 2].kind != Token::Number)
      Fail(Echo(key) +
               ": font must be written as font \"FACE\" SIZE [weight N] [charset N] [italic] [underline] "
               "[strikethrough]",
           key);
    FontDesc d;
    d.name = DecodeText(t[from + 1].text, key);
    if (const std::string why = TooLong(d.name, kMaxFaceName, "face name"); !why.empty())
      Fail("'" + key + "': the face name " + why, key);
    const char* b = t[from + 2].text.data();
    const auto r = std::from_chars(b, b + t[from + 2].text.size(), d.size);
    if (r.ec != std::errc() || r.ptr != b + t[from + 2].text.size() || !(d.size > 0 && d.size <= 1638))
      Fail(Echo(key) + ": font size must be a number of points more than 0 and at most 1638, not " +
               Echo(t[from + 2].text),
           key);
    std::set<std::string> given;
    for (std::size_t i = from + 3; i < t.size(); ++i) {
      const std::string& w = t[i].text;
      if (!given.insert(w).second)
        Fail(Echo(key) + ": font " + w + " is given twice", key);  // only a known word comes twice
      if ((w == "weight" || w == "charset") && i + 1 < t.size()) {
        const std::string& value = t[++i].text;
        const std::int32_t n = ParseInt(value, key);
        if (w == "weight" && (n < 0 || n > 1000))
          Fail(Echo(key) + ": font weight must be 0 to 1000, not " + Echo(value), key);
        if (w == "charset" && (n < 0 || n > 255))
          Fail(Echo(key) + ": font charset must be 0 to 255, not " + Echo(value), key);
        (w == "weight" ? d.weight : d.charset) = static_cast<std::int16_t>(n);
      } else if (w == "italic") {
        d.italic = true;
      } else if (w == "underline") {
        d.underline = true;
      } else if (w == "strikethrough") {
        d.strikethrough = true;
      } else {
        Fail(Echo(key) + ": unknown font attribute " + Echo(w) +
                 " (known: weight N, charset N, italic, underline, strikethrough; bold is weight 700)",
             key);
      }
    }
    return d;
  }
  expectEnd(from + 1);
  return Word{first.text};
}

double Reader::ToNumber(const Written& v, const std::string& key, NumberRange range, const std::string& note) const {
  const Number* n = std::get_if<Number>(&v);
  double d = 0;
  if (n) {
    const char* b = n->text.data() + (n->text[0] == '+');
    const auto r = std::from_chars(b, n->text.data() + n->text.size(), d);
    if (r.ec != std::errc() || r.ptr != n->text.data() + n->text.size() || !std::isfinite(d)) n = nullptr;
  }
  if (!n || d < range.min || d > range.max)
    Want(v, key,
         "a number from " + std::to_string(std::lround(range.min)) + " to " + std::to_string(std::lround(range.max)) +
             note);
  return d;
}

template <class T>
T Reader::As(const Written& v, const std::string& key) const {
  if constexpr (std::is_same_v<T, std::int32_t>) {
    if (const Number* n = std::get_if<Number>(&v)) return ParseInt(n->text, key);
    Want(v, key, "an integer");
  } else {
    if (const T* x = std::get_if<T>(&v)) return *x;
    if constexpr (std::is_same_v<T, bool>) Want(v, key, LowerCaseHint(v, "true or false"));
    else if constexpr (std::is_same_v<T, ColorValue>) Want(v, key, "a color such as color 0x00AD9177");
    else if constexpr (std::is_same_v<T, std::u16string>) Want(v, key, "a text in quotes");
    else Want(v, key, "a font");
  }
}

AttributeValue Reader::ToAttribute(const Written& v, AttributeKind kind, const std::string& key) const {
  switch (kind) {
    case AttributeKind::Twips:
    case AttributeKind::Size:
    case AttributeKind::ClientSize: {
      // Inside a control that places its children in pixels, the same bound in pixels.
      NumberRange r = RangeOf(kind);
      const bool pixels = !pixelParent_.empty();
      if (pixels) r = {r.min / kTwipsPerPixel, r.max / kTwipsPerPixel};
      const std::string inside =
          pixels ? " (inside " + Echo(pixelParent_) + ", which places its controls in pixels)" : "";
      if (std::holds_alternative<Number>(v)) return ToNumber(v, key, r, inside);
      Want(v, key,
           std::string("a number of ") + (pixels ? "pixels" : "twips") + " from " + std::to_string(std::lround(r.min)) +
               " to " + std::to_string(std::lround(r.max)) +
               (pixels ? inside : " (" + std::to_string(kMaxControlPixels) + " pixels)"));
    }
    case AttributeKind::Extent: return As<std::int32_t>(v, key);
    case AttributeKind::Boolean: return As<bool>(v, key);
    case AttributeKind::Color: return As<ColorValue>(v, key);
    case AttributeKind::Text: return As<std::u16string>(v, key);
    case AttributeKind::Font: return As<FontDesc>(v, key);
    case AttributeKind::Dock:
      if (const Word* w = std::get_if<Word>(&v)) {
        if (w->text == "top") return Dock::Top;
        if (w->text == "bottom") return Dock::Bottom;
        if (w->text == "none") return Dock::Undocked;
      }
      Want(v, key, LowerCaseHint(v, "top, bottom or none"));
  }
  return {};
}

PropertyValue Reader::ToProperty(const Written& v, PropertyType type, const std::string& key) const {
  switch (type) {
    case PropertyType::Boolean: return As<bool>(v, key);
    case PropertyType::Long: return As<std::int32_t>(v, key);
    case PropertyType::Color: return As<ColorValue>(v, key);
    case PropertyType::Single: return static_cast<float>(ToNumber(v, key, {-3.4e38, 3.4e38}));
    case PropertyType::Text: return As<std::u16string>(v, key);
    case PropertyType::Font: return As<FontDesc>(v, key);
  }
  return {};
}

template <class Block>
void Reader::ReadBlock(const std::string& what, std::span<const Attribute<Block>> attributes, Block& block,
                       const ControlClass* cls, PropertyBag* properties) {
  const int opened = line_;
  std::set<std::string> seen;
  while (NextLine()) {
    // A new block where a key or "end" should be: this one was never closed.
    const std::string& first = tokens_[0].text;
    if ((first == "control" || first == "line" || first == "window") &&
        (tokens_.size() < 2 || tokens_[1].kind != Token::Equals)) {
      const int next = line_;
      line_ = opened;
      Fail(what + " has no 'end' (line " + std::to_string(next) + " starts another block)");
    }
    if (tokens_.size() == 1 && tokens_[0].kind == Token::Word && tokens_[0].text == "end") {
      for (const Attribute<Block>& a : attributes)
        if (a.required && !seen.count(std::string(a.key))) Fail(what + " needs '" + std::string(a.key) + "'");
      return;
    }
    const bool set = tokens_[0].kind == Token::Word && tokens_[0].text == "set";
    const std::size_t k = set ? 1 : 0;
    if (k >= tokens_.size() || tokens_[k].kind != Token::Word || k + 1 >= tokens_.size() ||
        tokens_[k + 1].kind != Token::Equals)
      Fail("expected 'KEY = VALUE', 'set KEY = VALUE' or 'end' in " + what);
    const std::string key = LowerKey(tokens_[k].text);
    if (!seen.insert(key + (set ? "/set" : "")).second) Fail(Echo(key) + " is given twice in " + what, key);
    const Written v = ParseValue(k + 2, key);
    if (set) {
      if (!cls) Fail("a " + what + " has no stored properties", key);
      const PropertyInfo* p = cls->FindProperty(key);
      if (!p)
        Fail(what + " (" + cls->id + ") has no stored property " + Echo(key) + " (it has: " + cls->KnownProperties() +
                 ")",
             key);
      properties->WriteProperty(p->key, ToProperty(v, p->type, key));
      continue;
    }
    const Attribute<Block>* a = nullptr;
    for (const Attribute<Block>& x : attributes)
      if (x.key == key) a = &x;
    if (!a) {
      std::string known;
      for (const Attribute<Block>& x : attributes) known += (known.empty() ? "" : ", ") + std::string(x.key);
      Fail("unknown attribute " + Echo(key) + " in " + what + " (known: " + known +
               (cls ? "; stored properties are written 'set KEY = VALUE'" : "") + ")",
           key);
    }
    a->set(block, ToAttribute(v, a->kind, key));
  }
  line_ = opened;
  Fail(what + " has no 'end'");
}

Layout Reader::Read() {
  Layout out;
  out.source = source_;
  if (!NextLine()) {
    line_ = 1;
    Fail("the file is empty; its first line must be '" + std::string(kHeader) + "'");
  }
  if (tokens_.size() != 2 || tokens_[0].text + " " + tokens_[1].text != kHeader)
    Fail("the first line must be '" + std::string(kHeader) + "'");
  if (!NextLine() || tokens_.size() != 2 || tokens_[0].text != "window" || tokens_[1].kind != Token::Word)
    Fail("expected 'window NAME'");
  out.window.name = tokens_[1].text;
  const int windowLine = line_;
  ReadBlock<WindowLayout>("window " + Echo(out.window.name), WindowAttributes(), out.window, nullptr, nullptr);
  // Bounds past the sizes of single blocks are reported where the block starts.
  auto within = [&](int blockLine, const std::optional<std::string>& fault) {
    if (!fault) return;
    line_ = blockLine;
    Fail(*fault);
  };
  within(windowLine, bounds_.Window(out.window));
  std::set<std::string> names{out.window.name};
  auto name = [&](std::size_t i) {
    if (i >= tokens_.size() || tokens_[i].kind != Token::Word)
      Fail("expected a name (letters, digits, _ . - +, not starting with a digit)" +
           (i < tokens_.size() ? ", not " + Echo(tokens_[i].text) : std::string()));
    if (!names.insert(tokens_[i].text).second) Fail("the name " + Echo(tokens_[i].text) + " is used twice");
    return tokens_[i].text;
  };
  auto parent = [&](std::size_t i) {
    if (i + 2 != tokens_.size() || tokens_[i].text != "in" || tokens_[i + 1].kind != Token::Word)
      Fail("expected 'in PARENT' at the end of the line");
    const std::string& p = tokens_[i + 1].text;
    // The block's own name is known by now, but comes no earlier than itself.
    if (!names.count(p) || p == tokens_[1].text)
      Fail("unknown parent " + Echo(p) + ": a parent must come before its children");
    return p;
  };
  std::set<std::string> lineNames;  // a line holds no children
  while (NextLine()) {
    const std::string& kind = tokens_[0].text;
    if (kind == "control") {
      ControlLayout c;
      c.line = line_;
      c.name = name(1);
      if (tokens_.size() < 3 || tokens_[2].kind != Token::Word) Fail("expected 'control NAME CLASS in PARENT'");
      c.classId = tokens_[2].text;
      const ControlClass* cls = registry_.Find(c.classId);
      if (!cls) Fail("unknown class identifier " + Echo(c.classId) + " (known: " + registry_.KnownClasses() + ")");
      c.parent = parent(3);
      if (lineNames.count(c.parent)) Fail(Echo(c.parent) + " is a line and holds no controls");
      within(c.line, bounds_.Enter(c.name, c.parent, true));
      ReadBlockIn<ControlLayout>(c.parent, "control " + Echo(c.name), ControlAttributes(), c, cls, &c.properties);
      within(c.line, bounds_.Control(c, cls->scaleMode));
      out.items.emplace_back(std::move(c));
    } else if (kind == "line") {
      LineLayout l;
      l.line = line_;
      l.name = name(1);
      l.parent = parent(2);
      if (lineNames.count(l.parent)) Fail(Echo(l.parent) + " is a line and holds no lines");
      lineNames.insert(l.name);
      within(l.line, bounds_.Enter(l.name, l.parent, false));
      ReadBlockIn<LineLayout>(l.parent, "line " + Echo(l.name), LineAttributes(), l, nullptr, nullptr);
      out.items.emplace_back(std::move(l));
    } else {
      Fail("expected 'control' or 'line', not " + Echo(kind));
    }
  }
  // The window's default and cancel buttons name controls of it: reported where the
  // window block starts.
  for (const auto& [key, button] : {std::pair{"defaultbutton", &out.window.defaultButton},
                                    std::pair{"cancelbutton", &out.window.cancelButton}}) {
    const std::string name = ToUtf8(*button);
    if (button->empty() || (names.count(name) && !lineNames.count(name) && name != out.window.name)) continue;
    line_ = windowLine;
    Fail(std::string(key) + " " + Echo(name) + " is not a control of the window", key);
  }
  return out;
}

}  // namespace

std::int32_t TwipsToHimetric(double twips) { return static_cast<std::int32_t>(std::lround(twips * 2540.0 / 1440.0)); }

Layout ParseLayout(std::string_view text, const std::string& source, const ControlRegistry& registry) {
  return Reader(text, source, registry).Read();
}

Layout ParseLayout(std::string_view text, const std::string& source) {
  return ParseLayout(text, source, ControlRegistry());
}

}  // namespace xpkit
