#include "gallery/WindowFrame.h"

#include <algorithm>

#include "xpkit/host/Compositor.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

constexpr int kBorder = 3;
constexpr int kCaption = 16;  // the small caption, with its one-pixel rule
constexpr int COLOR_ACTIVECAPTION = 2, COLOR_CAPTIONTEXT = 9, COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22,
              COLOR_3DHILIGHT = 20, COLOR_GRADIENTACTIVECAPTION = 27;

void Fill(Gdi& gdi, HDC dc, int l, int t, int r, int b, COLORREF c) {
  const HBRUSH brush = gdi.CreateSolidBrush(c);
  const RECT rect{l, t, r, b};
  gdi.FillRect(dc, &rect, brush);
  gdi.DeleteObject(brush);
}

// A raised 3-D edge: light top and left, dark bottom and right, two pixels deep.
void Raised(Gdi& gdi, HDC dc, int l, int t, int r, int b, COLORREF outerLight, COLORREF outerDark) {
  Fill(gdi, dc, l, t, r, t + 1, outerLight);
  Fill(gdi, dc, l, t, l + 1, b, outerLight);
  Fill(gdi, dc, l, b - 1, r, b, outerDark);
  Fill(gdi, dc, r - 1, t, r, b, outerDark);
  Fill(gdi, dc, l + 1, t + 1, r - 1, t + 2, GetSysColor(COLOR_3DHILIGHT));
  Fill(gdi, dc, l + 1, t + 1, l + 2, b - 1, GetSysColor(COLOR_3DHILIGHT));
  Fill(gdi, dc, l + 1, b - 2, r - 1, b - 1, GetSysColor(COLOR_BTNSHADOW));
  Fill(gdi, dc, r - 2, t + 1, r - 1, b - 1, GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace

POINT FramedSize(int clientWidth, int clientHeight) {
  return {clientWidth + 2 * kBorder, clientHeight + 2 * kBorder + kCaption};
}

Bitmap Framed(Session& session, const Bitmap& client, const std::u16string& caption) {
  const auto [w, h] = FramedSize(client.width(), client.height());
  Bitmap out(w, h, Bitmap::FromColorRef(GetSysColor(COLOR_BTNFACE)));
  Gdi& gdi = session.gdi();
  const HDC dc = gdi.CreateImageDC(&out);
  Raised(gdi, dc, 0, 0, w, h, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  // The caption bar: a gradient from the active caption colour to its gradient colour.
  const COLORREF from = GetSysColor(COLOR_ACTIVECAPTION), to = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  const int barLeft = kBorder, barRight = w - kBorder, barWidth = std::max(barRight - barLeft - 1, 1);
  for (int x = barLeft; x < barRight; ++x) {
    const int k = x - barLeft;
    auto mix = [&](int a, int b) { return a + (b - a) * k / barWidth; };
    Fill(gdi, dc, x, kBorder, x + 1, kBorder + kCaption - 1,
         RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to))));
  }
  LOGFONT lf;
  lf.lfHeight = -11;
  lf.lfWeight = 700;
  lf.lfFaceName = u"Tahoma";
  lf.lfCharSet = session.codePage().charset();
  const HFONT font = gdi.CreateFontIndirect(lf);
  const HGDIOBJ old = gdi.SelectObject(dc, font);
  gdi.SetBkMode(dc, TRANSPARENT);
  gdi.SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
  const std::string text = session.codePage().Encode(caption);
  RECT titleRect{kBorder + 3, kBorder, barRight - 18, kBorder + kCaption - 1};
  gdi.DrawTextA(dc, text.data(), static_cast<int>(text.size()), &titleRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  gdi.SelectObject(dc, old);
  gdi.DeleteObject(font);
  // The close box: a small raised button with a cross.
  const int bl = barRight - 2 - 13, bt = kBorder + 2;
  Fill(gdi, dc, bl, bt, bl + 13, bt + 11, GetSysColor(COLOR_BTNFACE));
  Raised(gdi, dc, bl, bt, bl + 13, bt + 11, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DDKSHADOW));
  for (int i = 0; i < 6; ++i) {
    Fill(gdi, dc, bl + 3 + i, bt + 2 + i, bl + 5 + i, bt + 3 + i, 0);
    Fill(gdi, dc, bl + 8 - i, bt + 2 + i, bl + 10 - i, bt + 3 + i, 0);
  }
  gdi.DeleteDC(dc);
  CheckFonts(gdi);  // the caption's text as well as the client's
  for (int y = 0; y < client.height(); ++y)
    std::copy(client.Row(y), client.Row(y) + client.width(), out.Row(kBorder + kCaption + y) + kBorder);
  return out;
}

}  // namespace xpkit
