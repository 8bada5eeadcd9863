#include "xpkit/controls/msgbox/MsgBoxBody.h"

#include "xpkit/codepage/CodePage.h"
#include "xpkit/controls/msgbox/detail/ExclamationIcon.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

void MsgBoxBody::OnInitialize() {
  surface().SetBackColor(0x80000000u | COLOR_BTNFACE);
  surface().SetForeColor(0x80000000u | COLOR_BTNTEXT);
  icon_ = MakeExclamationIcon();
}

void MsgBoxBody::SetContent(POINT iconAt, const RECT& textRect, std::string ansiText) {
  iconAt_ = iconAt;
  textRect_ = textRect;
  text_ = std::move(ansiText);
  Paint();
}

Accessible MsgBoxBody::Describe() const {
  Accessible a;
  a.role = AccessibleRole::Label;
  a.name = session().codePage().Decode(text_);
  return a;
}

void MsgBoxBody::Paint() {
  surface().Cls();
  Gdi& gdi = session().gdi();
  const HDC dc = surface().hDC();
  // The icon's smoothed edges blend into the face colour.
  const COLORREF face = OleTranslateColor(surface().BackColor());
  const Bitmap& icon = icon_;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x) {
      const std::uint32_t a = icon.AlphaAt(x, y);
      if (a == 0) continue;
      const COLORREF c = icon.ColorAt(x, y);
      auto mix = [a](int over, int under) { return static_cast<int>((over * a + under * (255 - a) + 127) / 255); };
      gdi.SetPixel(dc, iconAt_.x + x, iconAt_.y + y,
                   RGB(mix(GetRValue(c), GetRValue(face)), mix(GetGValue(c), GetGValue(face)),
                       mix(GetBValue(c), GetBValue(face))));
    }
  gdi.SetBkMode(dc, TRANSPARENT);
  gdi.SetTextColor(dc, OleTranslateColor(surface().ForeColor()));
  RECT r = textRect_;
  if (!text_.empty())
    gdi.DrawTextA(dc, text_.data(), static_cast<int>(text_.size()), &r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  Refresh();
}

}  // namespace xpkit
