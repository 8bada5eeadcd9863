// A control's drawing surface: the persistent image the host shows the control's window
// from, its device context, colours, drawing font and scale unit.
#pragma once
#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/Font.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/VbTypes.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

constexpr int vbTwips = 1;
constexpr int vbPixels = 3;

class ControlSurface {
 public:
  // An Error when the session has no device context left to give (nor, later, a font).
  explicit ControlSurface(Gdi& gdi);
  ~ControlSurface();
  ControlSurface(const ControlSurface&) = delete;
  ControlSurface& operator=(const ControlSurface&) = delete;

  // A new size clears the image to the background colour.
  void SetSize(int widthPx, int heightPx);
  int widthPx() const { return image_.width(); }
  int heightPx() const { return image_.height(); }

  // The image's device context with the current drawing font selected.
  HDC hDC();
  const Bitmap& image() const { return image_; }

  void Cls();

  OLE_COLOR BackColor() const { return backColor_; }
  void SetBackColor(OLE_COLOR c);  // clears the image, as a new background does
  OLE_COLOR ForeColor() const { return foreColor_; }
  void SetForeColor(OLE_COLOR c);

  const FontRef& Font() const { return font_; }
  void SetFont(FontRef f) { font_ = std::move(f); }
  // The bold switch acts on the font object itself, which may be shared.
  void SetFontBold(bool on) {
    if (font_) font_->SetBold(on);
  }

  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode) { scaleMode_ = mode == vbPixels ? vbPixels : vbTwips; }
  float ScaleWidth() const { return ToScale(image_.width()); }
  float ScaleHeight() const { return ToScale(image_.height()); }
  float ToScale(double pixels) const {
    return static_cast<float>(scaleMode_ == vbPixels ? pixels : pixels * kTwipsPerPixel);
  }

 private:
  void SyncFont();
  Gdi& gdi_;
  Bitmap image_;
  HDC dc_ = 0;
  HFONT hfont_ = 0;
  const xpkit::Font* fontSeen_ = nullptr;
  std::uint64_t fontVersion_ = ~0ull;
  OLE_COLOR backColor_ = 0x8000000F;  // button face
  OLE_COLOR foreColor_ = 0x80000012;  // button text
  FontRef font_;
  int scaleMode_ = vbTwips;
};

}  // namespace xpkit
