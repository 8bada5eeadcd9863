#include "xpkit/backends/sdl2/detail/WaylandDisplay.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "xpkit/Error.h"

namespace xpkit::wayland {
namespace {

void OnGlobal(void* seen, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::string_view(interface) == wl_seat_interface.name) *static_cast<bool*>(seen) = true;
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

// The socket's name as libwayland resolves it: WAYLAND_DISPLAY, "wayland-0" by default,
// under XDG_RUNTIME_DIR unless it is a path.
std::string SocketName() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  return name && *name ? name : "wayland-0";
}

}  // namespace

void CheckCompositor() {
  const std::string name = SocketName();
  if (name.front() != '/' && !std::getenv("WAYLAND_SOCKET")) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat folder {};
    if (!runtime || !*runtime)
      throw Error(ErrorCode::NoDisplay, {},
                  "XDG_RUNTIME_DIR is not set, so the Wayland socket '" + name + "' cannot be found");
    if (stat(runtime, &folder) != 0 || !S_ISDIR(folder.st_mode))
      throw Error(ErrorCode::NoDisplay, {}, "XDG_RUNTIME_DIR '" + std::string(runtime) + "' is not a folder");
  }
  wl_display* display = wl_display_connect(nullptr);
  if (!display)
    throw Error(ErrorCode::NoDisplay, {},
                "no Wayland compositor answers at '" + name + "' (" + std::strerror(errno) + ")");
  bool seat = false;
  static const wl_registry_listener listener{OnGlobal, OnGlobalRemove};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &listener, &seat);
  const bool answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  if (!answered)
    throw Error(ErrorCode::DisplayUnusable, {}, "the Wayland compositor at '" + name + "' closed the connection");
  if (!seat)
    throw Error(ErrorCode::DisplayUnusable, {},
                "the Wayland compositor at '" + name + "' has no seat (no keyboard or pointer)");
}

namespace {

// The Wayland display of an SDL window; null under another video driver.
wl_display* DisplayOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return nullptr;
  return info.info.wl.display;
}

}  // namespace

bool ConnectionLost(SDL_Window* window) {
  wl_display* display = DisplayOf(window);
  return display && wl_display_get_error(display) != 0;
}

bool Retire(SDL_Window* window) {
  if (!DisplayOf(window)) return false;
  SDL_HideWindow(window);
  return true;
}

}  // namespace xpkit::wayland
