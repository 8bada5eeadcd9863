// What the real window checks of a Wayland compositor before SDL is given it: SDL
// crashes in its start-up on a compositor that offers no seat, and libwayland prints
// its own complaint when it has no runtime folder to find the socket in.
#pragma once
namespace xpkit::wayland {

// Connects to the compositor that WAYLAND_DISPLAY names, reads its globals and
// disconnects. Throws Error(NoDisplay) when none can be reached there, and
// Error(DisplayUnusable) when it has no seat, in one line each.
void CheckCompositor();

}  // namespace xpkit::wayland
