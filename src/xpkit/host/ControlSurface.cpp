#include "xpkit/host/ControlSurface.h"

#include <cmath>

#include "xpkit/Error.h"
#include "xpkit/platform/User.h"

namespace xpkit {
namespace {

constexpr char kGdiFull[] = "every GDI object of this session is in use";

}  // namespace

ControlSurface::ControlSurface(Gdi& gdi) : gdi_(gdi), image_(0, 0) {
  dc_ = gdi_.CreateImageDC(&image_);
  if (!dc_)
    throw Error(ErrorCode::OutOfMemory,
                std::string("no device context can be made for a control's image: ") + kGdiFull);
  gdi_.SetBkMode(dc_, TRANSPARENT);  // text is drawn over the surface without a box
  gdi_.SetTextColor(dc_, OleTranslateColor(foreColor_));
}

ControlSurface::~ControlSurface() {
  if (hfont_) gdi_.SelectObject(dc_, gdi_.GetStockObject(SYSTEM_FONT));
  gdi_.DeleteDC(dc_);
  if (hfont_) gdi_.DeleteObject(hfont_);
}

void ControlSurface::SetSize(int widthPx, int heightPx) {
  if (widthPx == image_.width() && heightPx == image_.height()) return;
  image_ = Bitmap(widthPx, heightPx);
  Cls();
}

HDC ControlSurface::hDC() {
  SyncFont();
  return dc_;
}

void ControlSurface::Cls() {
  image_.Fill(Bitmap::FromColorRef(OleTranslateColor(backColor_)));
  gdi_.MoveToEx(dc_, 0, 0, nullptr);
}

void ControlSurface::SetBackColor(OLE_COLOR c) {
  backColor_ = c;
  Cls();
}

void ControlSurface::SetForeColor(OLE_COLOR c) {
  foreColor_ = c;
  gdi_.SetTextColor(dc_, OleTranslateColor(c));
}

void ControlSurface::SyncFont() {
  if (!font_ || (font_.get() == fontSeen_ && font_->version() == fontVersion_)) return;
  const HFONT next = gdi_.CreateFontIndirect(LogFontOf(font_->desc()));
  if (!next) throw Error(ErrorCode::OutOfMemory, std::string("no font can be made for a control's image: ") + kGdiFull);
  gdi_.SelectObject(dc_, next);
  if (hfont_) gdi_.DeleteObject(hfont_);
  hfont_ = next;
  fontSeen_ = font_.get();
  fontVersion_ = font_->version();
}

}  // namespace xpkit
