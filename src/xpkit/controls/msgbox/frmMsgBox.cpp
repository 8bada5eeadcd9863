#include "xpkit/controls/msgbox/frmMsgBox.h"

#include <algorithm>

#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

// The platform's message box metrics at 96 dpi, in pixels.
constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconToText = 10;
constexpr int kTextToButton = 12;
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kMinWidth = 120;

FontDesc MessageFont(Host& host) {
  FontDesc d;
  d.name = u"Tahoma";
  d.size = 8;
  d.charset = host.session().codePage().charset();
  return d;
}

}  // namespace

frmMsgBox::Arrangement frmMsgBox::Arrange(Host& host, const std::string& ansiText) {
  // Lines break at words within five eighths of the screen's width, less the icon and
  // the margins, as the platform's box keeps itself no wider than that.
  const int textLeft = kMargin + kIconSize + kIconToText;
  const int maxText = std::max(host.backend().ScreenSize().x * 5 / 8 - textLeft - kMargin, 100);
  Gdi& gdi = host.session().gdi();
  Bitmap scratch(1, 1);
  const HDC dc = gdi.CreateImageDC(&scratch);
  const HFONT hfont = gdi.CreateFontIndirect(LogFontOf(MessageFont(host)));
  const HGDIOBJ old = gdi.SelectObject(dc, hfont);
  RECT measured{0, 0, maxText, 0};
  if (!ansiText.empty())
    gdi.DrawTextA(dc, ansiText.data(), static_cast<int>(ansiText.size()), &measured,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  gdi.SelectObject(dc, old);
  gdi.DeleteObject(hfont);
  gdi.DeleteDC(dc);

  Arrangement l;
  const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
  const int content = std::max(kIconSize, textHeight);
  l.icon = {kMargin, kMargin};
  // A text shorter than the icon stands level with the icon's middle.
  const int textTop = kMargin + (content - textHeight) / 2;
  l.text = {textLeft, textTop, textLeft + textWidth, textTop + textHeight};
  l.width = std::max({textLeft + textWidth + kMargin, kButtonWidth + 2 * kMargin, kMinWidth});
  const int buttonTop = kMargin + content + kTextToButton;
  l.button = {(l.width - kButtonWidth) / 2, buttonTop, (l.width - kButtonWidth) / 2 + kButtonWidth,
              buttonTop + kButtonHeight};
  l.height = buttonTop + kButtonHeight + kMargin;
  return l;
}

frmMsgBox::frmMsgBox(Host& host, const std::u16string& text, const std::u16string& caption)
    : frmMsgBox(host, caption, host.session().codePage().Encode(text),
                Arrange(host, host.session().codePage().Encode(text))) {}

frmMsgBox::frmMsgBox(Host& host, const std::u16string& caption, std::string ansiText, const Arrangement& l)
    : Form(host, "frmMsgBox", l.width, l.height) {
  Caption = caption;
  Frame = FrameStyle{true, true, false, false, false, true};
  Body = &Add<MsgBoxBody>("Body", {0, 0, Px(l.width), Px(l.button.top)});
  Body->surface().SetFont(MakeFont(MessageFont(host)));
  Body->SetContent(l.icon, l.text, std::move(ansiText));

  PropertyBag bag;
  bag.WriteProperty("Caption", std::u16string(u"OK"));
  bag.WriteProperty("Font", MessageFont(host));
  cmdOK = &Add<XPButton>("cmdOK",
                         {Px(l.button.left), Px(l.button.top), Px(kButtonWidth), Px(kButtonHeight)}, &bag);
  cmdOK->Click.Connect([this] { Close(); });
  cmdOK->KeyDown.Connect([this](std::int16_t& key, std::int16_t&) {
    if (key == vbKeyEscape) Close();
  });
  previousFocus_ = host.Focused();
  host.SetFocus(cmdOK);
}

Accessible frmMsgBox::Describe() const {
  Accessible a = Form::Describe();
  a.role = AccessibleRole::Alert;
  a.description = Body->Accessibility().name;
  return a;
}

frmMsgBox::~frmMsgBox() {
  if (host().Focused() == cmdOK) host().SetFocus(previousFocus_);
}

}  // namespace xpkit
