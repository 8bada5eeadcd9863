#include "xpkit/controls/header/XPHeader.h"

#include "xpkit/platform/Session.h"

namespace xpkit {

namespace {

constexpr std::string_view kBorderStyle = "BorderStyle", kCaption = "Caption", kDescription = "Description",
                           kFont = "Font";

}  // namespace

const PropertyTable<XPHeader, 4>& XPHeader::Properties() {
  static constexpr PropertyTable<XPHeader, 4> kTable{
      {{
          Field<XPHeader, [](auto& h) -> auto& { return h.borderStyle_; }, kConstant<1>>(kBorderStyle),
          Field<XPHeader, [](auto& h) -> auto& { return h.caption_; }, kDisplayName>(kCaption),
          Field<XPHeader, [](auto& h) -> auto& { return h.description_; },
                [](const XPHeader&) { return std::u16string(kDefaultDescription); }>(kDescription),
          Field<XPHeader, [](auto& h) -> auto& { return h.font_; }, kContainerFont>(kFont),
      }},
      {kBorderStyle, kFont, kCaption, kDescription},
  };
  static_assert(kTable.Valid());
  return kTable;
}

void XPHeader::OnInitialize() {
  lines_[0] = &AddLine("lneBorder(0)");
  lines_[1] = &AddLine("lneBorder(1)");
  surface().SetBackColor(RGB(255, 255, 255));
}

void XPHeader::OnInitProperties() {
  borderStyle_ = 1;
  caption_ = AmbientDisplayName();
  description_ = kDefaultDescription;
  font_ = AmbientFont();  // the container's own object; not made the drawing font
  SetBorderColors();
}

void XPHeader::OnReadProperties(const PropertyBag& bag) {
  Properties().Load(*this, bag);
  surface().SetFont(font_);
  DrawHeader();
  SetBorderColors();
}

void XPHeader::OnWriteProperties(PropertyBag& bag) { Properties().Save(*this, bag); }

void XPHeader::OnResize() {
  const std::int32_t w = CLng(Width() - 15);
  const std::int32_t h = CLng(Height() - 15);
  for (LineShape* line : lines_) {
    line->X1 = 0;
    line->X2 = static_cast<double>(w) + 15;
  }
  lines_[0]->Y1 = lines_[0]->Y2 = static_cast<double>(h) - 15;
  lines_[1]->Y1 = lines_[1]->Y2 = h;
  DrawHeader();
}

Accessible XPHeader::Describe() const {
  Accessible a;
  a.role = AccessibleRole::Panel;
  a.name = caption_;
  a.description = description_;
  a.text = caption_ + u"\n" + description_;
  return a;
}

void XPHeader::SetCaption(const std::u16string& v) {
  caption_ = v;
  DrawHeader();
  PropertyChanged(kCaption);
}

void XPHeader::SetDescription(const std::u16string& v) {
  description_ = v;
  DrawHeader();
  PropertyChanged(kDescription);
}

void XPHeader::SetFont(FontRef v) {
  font_ = std::move(v);
  surface().SetFont(font_);
  DrawHeader();
  PropertyChanged(kFont);
}

void XPHeader::SetBorderStyle(std::int32_t v) {
  borderStyle_ = v;
  SetBorderColors();
  PropertyChanged(kBorderStyle);
}

void XPHeader::DrawHeader() {
  surface().Cls();
  if (!gradient_) gradient_ = std::make_unique<clsGradient>(host());
  gradient_->SetColor1(0x00FFFFFF);
  gradient_->SetColor2(0x00AD9177);
  gradient_->Draw(hWnd(), surface().hDC());

  Gdi& gdi = session().gdi();
  surface().SetFontBold(true);
  const std::string caption = gdi.codePage().Encode(caption_);
  gdi.TextOutA(surface().hDC(), 10, 10, caption.data(), static_cast<int>(caption_.size()));
  surface().SetFontBold(false);
  const std::string description = gdi.codePage().Encode(description_);
  gdi.TextOutA(surface().hDC(), 20, 25, description.data(), static_cast<int>(description_.size()));
  Refresh();
}

void XPHeader::SetBorderColors() {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  const bool standard = borderStyle_ == 1;
  lines_[0]->BorderColor = standard ? shadow : window;
  lines_[1]->BorderColor = standard ? window : shadow;
}

}  // namespace xpkit
