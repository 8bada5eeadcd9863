#include "xpkit/backends/sdl2/detail/SdlWindow.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "xpkit/Error.h"
#include "xpkit/backends/sdl2/detail/DesktopScale.h"
#include "xpkit/backends/sdl2/detail/WaylandDisplay.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

constexpr int kFrameExtentsWaitMs = 200;

void SetIcon(SDL_Window* window, const Bitmap& icon) {
  std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
      SDL_CreateRGBSurfaceWithFormat(0, icon.width(), icon.height(), 24, SDL_PIXELFORMAT_RGB24), &SDL_FreeSurface);
  if (!surface) return;
  SDL_ConvertPixels(icon.width(), icon.height(), SDL_PIXELFORMAT_ARGB8888, icon.pixels().data(), icon.width() * 4,
                    SDL_PIXELFORMAT_RGB24, surface->pixels, surface->pitch);
  SDL_SetWindowIcon(window, surface.get());
}

}  // namespace

SdlWindow::SdlWindow(Form& form, int scale, const Bitmap& icon, SdlWindow* owner)
    : form_(form), owner_(owner), scale_(scale) {
  const FrameStyle& style = form.Frame;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (style.toolWindow) flags |= SDL_WINDOW_UTILITY;
  if (!style.showInTaskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
  if (!style.fixedSize) flags |= SDL_WINDOW_RESIZABLE;
  // A Wayland compositor scales a window's buffer up to its outputs' scale unless the
  // buffer is that much denser already.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::string_view(driver) == "wayland") flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  const int w = form.ClientWidthPx(), h = form.ClientHeightPx();
  window_ = SDL_CreateWindow(ToUtf8(form.Caption).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             w * std::max(scale, 1), h * std::max(scale, 1), flags);
  if (!window_) throw Error(ErrorCode::NoDisplay, {}, SDL_GetError());
  x_ = x11::Of(window_);
  x11::Watch(x_, &lost_);
  int unitsWide = 0, pixelsWide = 0;
  SDL_GetWindowSize(window_, &unitsWide, nullptr);
  SDL_GetWindowSizeInPixels(window_, &pixelsWide, nullptr);
  unit_ = unitsWide > 0 ? std::max(pixelsWide / unitsWide, 1) : 1;
  // Whole window units, so that each buffer pixel shows one client pixel: the desktop's
  // scale, or the one asked for, rounded up to a multiple of the unit.
  if (scale_ < 1) scale_ = std::max(DesktopScale(x_), unit_);
  scale_ = (scale_ + unit_ - 1) / unit_ * unit_;
  width_ = w * scale_ / unit_;
  height_ = h * scale_ / unit_;
  if (width_ != unitsWide) SDL_SetWindowSize(window_, width_, height_);
  if (icon.width() > 0) SetIcon(window_, icon);
  // Set before the window is mapped: a window manager that applies them later changes
  // the frame under a position computed from the old one.
  x11::SetMotifHints(x_, x11::MotifHintsFor(style));
  if (style.fixedSize) x11::WatchRequestsToWindowManager(x_);
  x11::SetGroupLeader(x_, owner ? owner->x_.window : x_.window);
  if (owner && x_) {
    x11::MakeModalDialog(x_, owner->x_);
    SDL_SetWindowModalFor(window_, owner->window_);
  }
}

SdlWindow::~SdlWindow() {
  if (lost_) return;
  x11::Unwatch(x_);
  if (!wayland::Retire(window_)) SDL_DestroyWindow(window_);
}

void SdlWindow::Place() {
  if (x_ && x11::WindowManagerRunning(x_)) {
    if (const auto extents = x11::RequestFrameExtents(x_, kFrameExtentsWaitMs)) frame_ = *extents;
  }
  // The whole frame goes to the middle of the monitor, or of the owner's frame.
  SDL_Rect area{};
  if (owner_) {
    const x11::FrameExtents& f = owner_->frame_;
    area = {owner_->place_.x - f.left, owner_->place_.y - f.top, owner_->width_ + f.left + f.right,
            owner_->height_ + f.top + f.bottom};
  } else if (const auto monitor = x11::ActiveMonitor(x_)) {
    // SDL sees side-by-side monitors as one display: the window would sit on the seam.
    area = {monitor->x, monitor->y, monitor->width, monitor->height};
  } else if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &area) != 0) {
    return;  // SDL's own centring stays
  }
  const int frameWidth = width_ + frame_.left + frame_.right, frameHeight = height_ + frame_.top + frame_.bottom;
  place_ = {area.x + (area.w - frameWidth) / 2 + frame_.left, area.y + (area.h - frameHeight) / 2 + frame_.top, width_,
            height_};
  if (x_)
    x11::MoveClientTo(x_, place_.x, place_.y, frame_);
  else
    SDL_SetWindowPosition(window_, place_.x, place_.y);
}

void SdlWindow::Show() {
  form_.Show();
  Place();
  SDL_ShowWindow(window_);
  // Wayland has a toplevel to give a parent only once the window is shown.
  if (owner_ && !x_) SDL_SetWindowModalFor(window_, owner_->window_);
  // Some window managers (Openbox) do not focus a new window that stays off the taskbar.
  Focus();
  if (const auto g = x11::ClientGeometry(x_); g && ExpectedSize(g->width, g->height)) place_ = *g;
  POINT origin{0, 0};
  form_.session().user().ClientToScreen(form_.hWnd(), &origin);
  input_.emplace(origin, form_.session().codePage(), scale_ / unit_);
}

void SdlWindow::Present() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  // The surface has a pixel a window unit where SDL does not make it denser; it is then
  // stretched to the buffer without smoothing, which keeps the blocks exact.
  const int perSurfacePixel = surface->w >= width_ * unit_ ? scale_ : scale_ / unit_;
  const Bitmap frame = Enlarged(ComposeForm(form_), perSurfacePixel);
  const int w = std::min(frame.width(), surface->w), h = std::min(frame.height(), surface->h);
  SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, frame.pixels().data(), frame.width() * 4, surface->format->format,
                    surface->pixels, surface->pitch);
  SDL_UpdateWindowSurface(window_);
}

std::vector<InputMessage> SdlWindow::Translate(const SDL_Event& e) {
  if (e.type == SDL_WINDOWEVENT) {
    const FrameStyle& style = form_.Frame;
    switch (e.window.event) {
      // A window manager marks a window minimised before it unmaps it; SDL reports the
      // first and not the second, so both count, and each makes the window come back.
      case SDL_WINDOWEVENT_MINIMIZED:
      case SDL_WINDOWEVENT_HIDDEN: minimised_ = minimised_ || !style.minButton; break;
      case SDL_WINDOWEVENT_MAXIMIZED: resized_ = resized_ || !style.maxButton; break;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        resized_ = resized_ || (style.fixedSize && !ExpectedSize(e.window.data1, e.window.data2));
        break;
      case SDL_WINDOWEVENT_MOVED: moved_ = true; break;
      default: break;
    }
  }
  if (!input_) return {};
  return input_->Translate(e);
}

void SdlWindow::NoteRequest(const x11::MoveResizeRequest& request) {
  if (x_ && request.window == x_.window && request.sizeOnly && form_.Frame.fixedSize) sizeAsked_ = true;
}

void SdlWindow::KeepFrame() {
  // A size the window cannot take, asked for by another client without a place: Openbox
  // refuses the size but first moves the window so that the size would fit on the
  // screen. The window goes back where it was; its move is not the user's.
  if (sizeAsked_) resized_ = true;
  // A full screen the window manager cannot size (Openbox, for a box whose minimum is its
  // maximum) only moves the window to the corner and drops the frame.
  if (moved_ && form_.Frame.fixedSize && x11::FullscreenOrMaximised(x_)) resized_ = true;
  if (moved_ && !resized_) {
    // The user moved the window: that is its place from now on.
    if (const auto g = x11::ClientGeometry(x_); g && ExpectedSize(g->width, g->height)) place_ = *g;
  }
  if (minimised_) {
    if (!x_)
      SDL_RestoreWindow(window_);
    else if (x11::Iconified(x_))
      x11::Deiconify(x_);
  }
  if (resized_) {
    // SDL does not count a full screen the window manager made as its own, so it is left
    // by asking the window manager; SDL's idea of the frame is empty meanwhile, so the
    // frame is put back with the extents kept from the start.
    x11::LeaveFullscreenAndMaximised(x_);
    SDL_SetWindowSize(window_, width_, height_);
    x11::MoveClientTo(x_, place_.x, place_.y, frame_);
  }
  moved_ = minimised_ = resized_ = sizeAsked_ = false;
}

}  // namespace xpkit
