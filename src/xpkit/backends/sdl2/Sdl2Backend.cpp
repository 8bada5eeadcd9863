#include "xpkit/backends/sdl2/Sdl2Backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>
#include <string>
#include <string_view>

#include "xpkit/Error.h"
#include "xpkit/backends/sdl2/detail/SdlWindow.h"
#include "xpkit/backends/sdl2/detail/WaylandDisplay.h"
#include "xpkit/backends/sdl2/detail/X11Window.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

constexpr std::int64_t kMinimumTimerPeriodMs = 10;

// The window an event is about; 0 for events about none.
Uint32 WindowOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return e.button.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return e.key.windowID;
    case SDL_TEXTINPUT: return e.text.windowID;
    default: return 0;
  }
}

bool IsKeyboard(const SDL_Event& e) { return e.type == SDL_KEYDOWN || e.type == SDL_KEYUP || e.type == SDL_TEXTINPUT; }

// Where no session bus runs, libdbus starts one for SDL (which asks for it for the screen
// saver and input methods), and it outlives the program. An address of no known kind
// makes libdbus give up at once instead.
void KeepDbusFromStartingABus() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) return;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0) return;  // libdbus finds it
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

// Of the window system's own events SDL passes on, only other clients' requests to move
// or resize a window: the rest would wake the loop for nothing.
int KeepMoveResizeRequests(void*, SDL_Event* e) {
  return e->type != SDL_SYSWMEVENT || x11::MoveResizeRequestIn(*e->syswm.msg).has_value();
}

}  // namespace

Sdl2Backend::Sdl2Backend() {
  // The click that activates an inactive window is a click on what it lands on, as on
  // the system the controls were made for.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // A small dialog has no business keeping the screen saver away.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  const bool hasX11 = std::getenv("DISPLAY") != nullptr, hasWayland = std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (!chosen && !hasX11 && !hasWayland) throw Error(ErrorCode::NoDisplay, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set");
  // With DISPLAY set, X11 it is (only there can the window be centred): SDL would
  // otherwise try Wayland after a failed X11 (whose library complains on standard error)
  // and then fall back to drawing nowhere. With WAYLAND_DISPLAY alone, Wayland, and no
  // fallback either.
  if (!chosen) SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX11 ? "x11" : "wayland");
  if (chosen ? std::string_view(chosen) == "wayland" : !hasX11) {
    // SDL crashes on a compositor without a seat, and libwayland complains on standard
    // error without a runtime folder: neither gets that far.
    wayland::CheckCompositor();
  } else {
    // Without this SDL loads OpenGL for the window surface: far more memory and a slower
    // first frame, for a window that only ever shows a software image. (Wayland has no
    // other way to a window surface.)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  // Closing the last window is the form's business (Form::Closing may refuse it), not
  // a request to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  KeepDbusFromStartingABus();
  // SDL puts back the X error handler it found at start just before it closes the
  // display, where errors about windows already destroyed may still arrive: the handler
  // it finds must be ours, not Xlib's, which ends the process.
  x11::InstallErrorHandlers();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) throw Error(ErrorCode::NoDisplay, {}, SDL_GetError());
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!chosen && (driver == "offscreen" || driver == "dummy")) {
    SDL_Quit();
    throw Error(ErrorCode::NoDisplay, {}, "the display named by DISPLAY or WAYLAND_DISPLAY could not be opened");
  }
  if (driver == "x11") {
    x11::InstallErrorHandlers();  // again: SDL's start put its own in their place
    SDL_SetEventFilter(KeepMoveResizeRequests, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
}

Sdl2Backend::~Sdl2Backend() {
  if (!lostReason_.empty()) {
    // SDL would wait for ever for events about a window that is gone.
    for (auto& w : windows_) w->Abandon();
    windows_.clear();
    return;
  }
  windows_.clear();
  SDL_SetEventFilter(nullptr, nullptr);
  SDL_Quit();
}

POINT Sdl2Backend::ScreenSize() const {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return Backend::ScreenSize();
  return {mode.w, mode.h};
}

ScreenPlace Sdl2Backend::PlaceOf(const Form& form) const {
  for (const auto& w : windows_)
    if (&w->form() == &form) return {w->ClientOrigin(), w->scale()};
  return Backend::PlaceOf(form);
}

void Sdl2Backend::ShowMessageBox(const std::u16string& text, const std::u16string& caption) {
  if (messageBoxMaker_) {
    const std::unique_ptr<Form> dialog = messageBoxMaker_(text, caption);
    RunModal(*dialog);
    return;
  }
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, ToUtf8(caption).c_str(), ToUtf8(text).c_str(), nullptr) != 0)
    SDL_Log("%s: %s", ToUtf8(caption).c_str(), ToUtf8(text).c_str());  // no box: at least say it
}

void Sdl2Backend::AdvanceClock(Host& host) {
  const std::int64_t now = static_cast<std::int64_t>(SDL_GetTicks64() - start_);
  const std::int64_t due = host.NextTimerDue();
  if (due >= 0 && due <= now) lastTimers_ = now;
  host.AdvanceClock(now - host.Now());
}

void Sdl2Backend::Lose(const char* why) {
  lostReason_ = why;
  throw Error(ErrorCode::DisplayLost, {}, lostReason_);
}

void Sdl2Backend::Dispatch(Host& host, const SDL_Event& e) {
  if (e.type == SDL_QUIT) {
    // SDL asks to quit when the Wayland compositor goes away; ending quietly then would
    // hide a lost display.
    if (!windows_.empty() && wayland::ConnectionLost(windows_.front()->window())) {
      Lose("the connection to the Wayland compositor was lost");
    }
    ended_ = true;
    return;
  }
  if (e.type == SDL_SYSWMEVENT) {
    if (const auto request = x11::MoveResizeRequestIn(*e.syswm.msg))
      for (const auto& w : windows_) w->NoteRequest(*request);
    return;
  }
  const Uint32 id = WindowOf(e);
  const auto it = std::find_if(windows_.begin(), windows_.end(), [&](const auto& w) { return w->id() == id; });
  if (it == windows_.end()) return;
  SdlWindow& window = **it;
  SdlWindow& top = *windows_.back();
  // A Wayland window's buffer counts only once the compositor has configured it, which
  // SDL reports as any of several window events rather than as exposed.
  if (e.type == SDL_WINDOWEVENT) dirty_ = true;
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) host.Activate(window.form());
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST && host.ActiveForm() == &window.form())
    host.SetActiveForm(nullptr);
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) {
    // The form decides; closing the main window ends Run. An owner with a dialog open
    // stays.
    if (&window == &top) host.RequestClose(window.form());
    return;
  }
  // Keys belong to the dialog even where the window manager left the focus on its owner;
  // the owner's pointer input is dropped while a dialog is open.
  if (IsKeyboard(e)) {
    for (const InputMessage& m : top.Translate(e)) host.Post(m);
    return;
  }
  const auto messages = window.Translate(e);
  if (&window != &top) return;
  for (const InputMessage& m : messages) host.Post(m);
}

void Sdl2Backend::AfterEvents() {
  const bool changed = std::any_of(windows_.begin(), windows_.end(), [](const auto& w) { return w->FrameChanged(); });
  // Errors about a window destroyed from outside arrive before the events that follow,
  // but only once the server has answered what SDL asked about it.
  if (changed && !windows_.empty()) windows_.front()->Sync();
  for (const auto& w : windows_) {
    if (!w->Lost()) continue;
    Lose("the window was destroyed from outside the program");
  }
  for (const auto& w : windows_) w->KeepFrame();
}

// Sleeps until the next event, or until the next timer tick is due. Like the system the
// controls were made for, timers tick at most once per minimum period, so the button's
// 1 ms hover timer polls every 10 ms. A loop service sleeps in SDL's place, watching the
// X connection as well as its own, once SDL holds no event already read.
bool Sdl2Backend::WaitEvent(Host& host, SDL_Event& e) {
  const std::int64_t due = host.NextTimerDue();
  const int timeout = due < 0 ? -1
                              : static_cast<int>(std::max<std::int64_t>(
                                    std::max(due, lastTimers_ + kMinimumTimerPeriodMs) - host.Now(), 1));
  if (!service_) return (timeout < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout)) != 0;
  const int fd = windows_.empty() ? -1 : windows_.front()->ConnectionFd();
  if (fd < 0) {
    const int poll = timeout < 0 ? kServicePollMs : std::min(timeout, kServicePollMs);
    return SDL_WaitEventTimeout(&e, poll) != 0;
  }
  if (SDL_PollEvent(&e)) return true;
  service_->Wait(fd, timeout);
  return SDL_PollEvent(&e) != 0;
}

void Sdl2Backend::Loop(Host& host, const std::function<bool()>& done) {
  if (start_ == 0) start_ = SDL_GetTicks64() - static_cast<std::uint64_t>(host.Now());
  while (!done()) {
    AdvanceClock(host);
    host.Pump();
    if (service_) service_->Serve();
    if (done()) break;
    if (dirty_) {
      dirty_ = false;
      for (const auto& w : windows_) w->Present();
    }
    SDL_Event e;
    const bool got = WaitEvent(host, e);
    if (got) {
      Dispatch(host, e);
      while (!done() && SDL_PollEvent(&e)) Dispatch(host, e);
    }
    AfterEvents();
  }
}

Sdl2Backend::RunEnd Sdl2Backend::Run(Host& host, Form& form, const Bitmap& icon) {
  icon_ = icon;
  windows_.push_back(std::make_unique<SdlWindow>(form, scale_, icon_));
  windows_.back()->Show();
  dirty_ = true;
  try {
    Loop(host, [&] { return ended_ || host.Ended() || form.Closed(); });
  } catch (const Error&) {
    if (lostReason_.empty()) throw;
    return RunEnd::DisplayLost;
  }
  return host.Ended() ? RunEnd::Ended : RunEnd::Closed;
}

void Sdl2Backend::RunModal(Form& dialog) {
  Host& host = dialog.host();
  host.CancelMode();
  SdlWindow* owner = windows_.empty() ? nullptr : windows_.front().get();
  User& user = host.session().user();
  // The owner takes no input while the dialog is open, from the window system or queued.
  struct Restore {
    Sdl2Backend& backend;
    User& user;
    HWND owner;
    ~Restore() {
      if (backend.lostReason_.empty()) backend.windows_.pop_back();
      if (owner) user.EnableWindow(owner, TRUE);
      if (backend.lostReason_.empty() && !backend.windows_.empty()) backend.windows_.back()->Focus();
      backend.dirty_ = true;
    }
  };
  windows_.push_back(std::make_unique<SdlWindow>(dialog, owner ? owner->scale() : scale_, Bitmap(), owner));
  const HWND ownerHwnd = owner ? owner->form().hWnd() : 0;
  if (ownerHwnd) user.EnableWindow(ownerHwnd, FALSE);
  const Restore restore{*this, user, ownerHwnd};
  windows_.back()->Show();
  dirty_ = true;
  Loop(host, [&] { return dialog.Closed() || ended_ || host.Ended(); });
}

}  // namespace xpkit
