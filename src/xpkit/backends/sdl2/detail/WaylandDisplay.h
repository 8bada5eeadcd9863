// What the real window checks of a Wayland compositor before SDL is given it: SDL
// crashes in its start-up on a compositor that offers no seat, and libwayland prints
// its own complaint when it has no runtime folder to find the socket in.
#pragma once
struct SDL_Window;

namespace xpkit::wayland {

// Connects to the compositor that WAYLAND_DISPLAY names, reads its globals and
// disconnects. Throws Error(NoDisplay) when none can be reached there, and
// Error(DisplayUnusable) when it has no seat, in one line each.
void CheckCompositor();

// Whether the connection of an SDL window on Wayland has failed (SDL reports that as a
// request to quit); false for a window of another video driver.
bool ConnectionLost(SDL_Window* window);

// Hides a Wayland window for good instead of destroying it (SDL_Quit does that): SDL
// 2.26 crashes in libdecor when a frame event arrives after a window closed while the
// program runs. False, and nothing done, for a window of another video driver.
bool Retire(SDL_Window* window);

}  // namespace xpkit::wayland
