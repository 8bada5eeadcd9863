#include "backends/sdl2/Sdl2Backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "backends/sdl2/SdlInput.h"
#include "host/Compositor.h"
#include "platform/Error.h"
#include "platform/Session.h"
#include "platform/Utf.h"

namespace xpkit {

constexpr std::int64_t kMinimumTimerPeriodMs = 10;

Sdl2Backend::Sdl2Backend() {
  // Without this SDL loads OpenGL for the window surface: far more memory and a slower
  // first frame, for a window that only ever shows a software image.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // SDL falls back to a window-less "offscreen" driver when no display opens; that is
  // only wanted when asked for by name.
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (!chosen && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    throw Error(ErrorCode::NoDisplay, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) throw Error(ErrorCode::NoDisplay, {}, SDL_GetError());
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!chosen && (driver == "offscreen" || driver == "dummy")) {
    SDL_Quit();
    throw Error(ErrorCode::NoDisplay, {}, "the display named by DISPLAY or WAYLAND_DISPLAY could not be opened");
  }
}

Sdl2Backend::~Sdl2Backend() {
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

POINT Sdl2Backend::ScreenSize() const {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return Backend::ScreenSize();
  return {mode.w, mode.h};
}

void Sdl2Backend::ShowMessageBox(const std::u16string& text, const std::u16string& caption) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, ToUtf8(caption).c_str(), ToUtf8(text).c_str(), window_) != 0)
    SDL_Log("%s: %s", ToUtf8(caption).c_str(), ToUtf8(text).c_str());  // no box: at least say it
}

void Sdl2Backend::Present(const Form& form) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  const Bitmap frame = ComposeForm(form);
  const int w = std::min(frame.width(), surface->w), h = std::min(frame.height(), surface->h);
  SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, frame.pixels().data(), frame.width() * 4, surface->format->format,
                    surface->pixels, surface->pitch);
  SDL_UpdateWindowSurface(window_);
  dirty_ = false;
}

void Sdl2Backend::Run(Host& host, Form& form, const Bitmap& icon) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (form.Frame.toolWindow) flags |= SDL_WINDOW_UTILITY;
  if (!form.Frame.showInTaskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
  if (!form.Frame.fixedSize) flags |= SDL_WINDOW_RESIZABLE;
  const int pos = form.Frame.centred ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
  window_ = SDL_CreateWindow(ToUtf8(form.Caption).c_str(), pos, pos, form.ClientWidthPx(), form.ClientHeightPx(), flags);
  if (!window_) throw Error(ErrorCode::NoDisplay, {}, SDL_GetError());

  std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> iconSurface(
      SDL_CreateRGBSurfaceWithFormat(0, icon.width(), icon.height(), 24, SDL_PIXELFORMAT_RGB24), &SDL_FreeSurface);
  if (iconSurface) {
    SDL_ConvertPixels(icon.width(), icon.height(), SDL_PIXELFORMAT_ARGB8888, icon.pixels().data(), icon.width() * 4,
                      SDL_PIXELFORMAT_RGB24, iconSurface->pixels, iconSurface->pitch);
    SDL_SetWindowIcon(window_, iconSurface.get());
  }

  form.Show();
  SDL_ShowWindow(window_);
  POINT origin{0, 0};
  host.session().user().ClientToScreen(form.hWnd(), &origin);
  SdlInput input(origin, host.session().codePage());

  const Uint64 start = SDL_GetTicks64();
  std::int64_t lastTimers = 0;
  auto clock = [&] {
    const std::int64_t now = static_cast<std::int64_t>(SDL_GetTicks64() - start);
    const std::int64_t due = host.NextTimerDue();
    if (due >= 0 && due <= now) lastTimers = now;
    host.AdvanceClock(now - host.Now());
  };
  auto handle = [&](const SDL_Event& e) {
    if (e.type == SDL_QUIT || (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE)) {
      ended_ = true;  // the only window closed: the program ends
      return;
    }
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) dirty_ = true;
    for (const InputMessage& m : input.Translate(e)) host.Post(m);
  };
  while (!ended_ && !host.Ended()) {
    clock();
    host.Pump();
    if (ended_ || host.Ended()) break;
    if (dirty_) Present(form);
    // Sleep until the next event, or until the next timer tick is due. Like the system
    // the controls were made for, timers tick at most once per minimum period, so the
    // button's 1 ms hover timer polls every 10 ms.
    const std::int64_t due = host.NextTimerDue();
    SDL_Event e;
    bool got;
    if (due < 0) {
      got = SDL_WaitEvent(&e) != 0;
    } else {
      const std::int64_t wake = std::max(due, lastTimers + kMinimumTimerPeriodMs);
      got = SDL_WaitEventTimeout(&e, static_cast<int>(std::max<std::int64_t>(wake - host.Now(), 1))) != 0;
    }
    if (!got) continue;
    handle(e);
    while (!ended_ && SDL_PollEvent(&e)) handle(e);
  }
}

}  // namespace xpkit
