// The font object that controls hold and pass by reference, never copied.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace xpkit {

// What a stored font keeps: face, size, weight, attributes and character set.
struct FontDesc {
  std::u16string name = u"MS Sans Serif";
  double size = 8.25;  // points
  std::int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int16_t charset = 0;
  bool operator==(const FontDesc&) const = default;
  bool bold() const { return weight >= 600; }
};

class Font {
 public:
  Font() = default;
  explicit Font(FontDesc d) : desc_(std::move(d)) {}

  const FontDesc& desc() const { return desc_; }
  // Every change bumps the version, so holders of a derived GDI font notice it.
  std::uint64_t version() const { return version_; }

  const std::u16string& Name() const { return desc_.name; }
  double Size() const { return desc_.size; }
  std::int16_t Weight() const { return desc_.weight; }
  bool Bold() const { return desc_.bold(); }
  bool Italic() const { return desc_.italic; }
  bool Underline() const { return desc_.underline; }
  bool Strikethrough() const { return desc_.strikethrough; }
  std::int16_t Charset() const { return desc_.charset; }

  void SetName(std::u16string v) { desc_.name = std::move(v); ++version_; }
  void SetSize(double v) { desc_.size = v; ++version_; }
  void SetWeight(std::int16_t v) { desc_.weight = v; ++version_; }
  // Bold is weight 700, not bold weight 400, as the font object defines it.
  void SetBold(bool v) { desc_.weight = v ? 700 : 400; ++version_; }
  void SetItalic(bool v) { desc_.italic = v; ++version_; }
  void SetUnderline(bool v) { desc_.underline = v; ++version_; }
  void SetStrikethrough(bool v) { desc_.strikethrough = v; ++version_; }
  void SetCharset(std::int16_t v) { desc_.charset = v; ++version_; }

 private:
  FontDesc desc_;
  std::uint64_t version_ = 0;
};

using FontRef = std::shared_ptr<Font>;

inline FontRef MakeFont(FontDesc d) { return std::make_shared<Font>(std::move(d)); }

}  // namespace xpkit
