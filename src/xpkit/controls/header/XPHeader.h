// The banner strip: a white-to-slate-blue gradient, a bold caption, a regular
// description and a two-line bottom edge whose colour order BorderStyle selects.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "xpkit/gradient/clsGradient.h"
#include "xpkit/host/PropertyTable.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {

class XPHeader : public UserControl {
 public:
  static constexpr const char* kClassId = "Morvel.XPHeader";
  static constexpr const char16_t* kDefaultDescription = u"Add you description text here";

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& v);
  const std::u16string& Description() const { return description_; }
  void SetDescription(const std::u16string& v);
  const FontRef& Font() const { return font_; }
  void SetFont(FontRef v);
  std::int32_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(std::int32_t v);

  // The stored properties: "BorderStyle", "Caption", "Description" and "Font".
  static const PropertyTable<XPHeader, 4>& Properties();

  // A banner never takes the focus.
  bool CanGetFocus() const override { return false; }
  // A panel named by its caption and described by its description; as text, both lines.
  Accessible Describe() const override;

  // The two edge lines, index 0 above index 1.
  LineShape& lneBorder(int index) { return *lines_[index]; }

  void OnInitialize() override;
  void OnInitProperties() override;
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) override;
  void OnResize() override;

 private:
  void DrawHeader();
  void SetBorderColors();

  std::int32_t borderStyle_ = 0;
  std::u16string caption_;
  std::u16string description_;
  FontRef font_;
  std::unique_ptr<clsGradient> gradient_;
  LineShape* lines_[2] = {nullptr, nullptr};
};

}  // namespace xpkit
