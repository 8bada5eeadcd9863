#include "controls/header/XPHeader.h"

#include "platform/Session.h"

namespace xpkit {

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
  borderStyle_ = bag.ReadLong("BorderStyle", 1);
  caption_ = bag.ReadText("Caption", AmbientDisplayName());
  description_ = bag.ReadText("Description", kDefaultDescription);
  font_ = bag.ReadFont("Font", AmbientFont());
  surface().SetFont(font_);
  DrawHeader();
  SetBorderColors();
}

void XPHeader::OnWriteProperties(PropertyBag& bag) {
  bag.WriteProperty("BorderStyle", borderStyle_, 1);
  bag.WriteFont("Font", font_, AmbientFont());
  bag.WriteProperty("Caption", caption_, AmbientDisplayName());
  bag.WriteProperty("Description", description_, std::u16string(kDefaultDescription));
}

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

void XPHeader::SetCaption(const std::u16string& v) {
  caption_ = v;
  DrawHeader();
  PropertyChanged("Caption");
}

void XPHeader::SetDescription(const std::u16string& v) {
  description_ = v;
  DrawHeader();
  PropertyChanged("Description");
}

void XPHeader::SetFont(FontRef v) {
  font_ = std::move(v);
  surface().SetFont(font_);
  DrawHeader();
  PropertyChanged("Font");
}

void XPHeader::SetBorderStyle(std::int32_t v) {
  borderStyle_ = v;
  SetBorderColors();
  PropertyChanged("BorderStyle");
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
