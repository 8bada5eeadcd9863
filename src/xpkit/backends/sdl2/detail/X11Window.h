// What the real window needs of X11 that SDL does not offer: the window manager's frame
// functions and decorations (Motif hints), the frame extents before the window is
// mapped, the monitors, leaving a full-screen or maximised state the window manager
// imposed, a dialog's role towards its owner, the window group, other clients' requests
// to move or resize it, the desktop's Xft.dpi, and error handlers that tell a window
// destroyed from outside or a lost server in one line.
// Every call does nothing for a window that is not an X11 one.
#pragma once
#include <optional>

#include "xpkit/host/Form.h"

struct SDL_Window;
struct SDL_SysWMmsg;
struct _XDisplay;

namespace xpkit::x11 {

struct Handle {
  _XDisplay* display = nullptr;
  unsigned long window = 0;
  explicit operator bool() const { return display != nullptr; }
};
// The X11 display and window of an SDL window; empty under another video driver.
Handle Of(SDL_Window* window);
// The file descriptor of the window's display connection; -1 for none.
int ConnectionFd(Handle w);

// _MOTIF_WM_HINTS as the frame style asks: move and close always; minimise, maximise
// and resize (with their boxes) only when the style has them.
struct MotifHints {
  unsigned long flags = 0, functions = 0, decorations = 0;
};
MotifHints MotifHintsFor(const FrameStyle& frame);
void SetMotifHints(Handle w, const MotifHints& hints);

// The window group leader in WM_HINTS (SDL's names a window that does not exist).
void SetGroupLeader(Handle w, unsigned long leader);

// A modal dialog of `owner`: transient for it, of dialog type, in the modal state (so
// that window managers keep the keyboard on it), kept off the taskbar.
void MakeModalDialog(Handle w, Handle owner);

struct FrameExtents {
  int left = 0, right = 0, top = 0, bottom = 0;
};
// Whether a window manager that follows the desktop conventions is running.
bool WindowManagerRunning(Handle w);
// Asks the window manager for the frame it will give the (unmapped) window and waits
// for the answer at most `timeoutMs`; empty when there is no answer.
std::optional<FrameExtents> RequestFrameExtents(Handle w, int timeoutMs);
// Where the client area is on the screen now, and its size.
struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};
std::optional<Geometry> ClientGeometry(Handle w);
// The monitor (RandR 1.5) to centre a new window on: the one holding the pointer, else
// the primary, else the first; empty where the server lists none.
std::optional<Geometry> ActiveMonitor(Handle w);
// Places the frame so that the client area lands at (x, y).
void MoveClientTo(Handle w, int x, int y, const FrameExtents& frame);
// Whether the window manager has iconified the window (not merely unmapped it, as for
// another workspace).
bool Iconified(Handle w);
// Brings an iconified window back: maps it again (the desktop conventions' way) and asks
// the window manager to activate it (what Openbox heeds).
void Deiconify(Handle w);
// Other clients ask the window manager to move or resize a window through the root
// window; from now on the window's connection hears those requests too, and SDL passes
// them on as SDL_SYSWMEVENT once that event is enabled.
void WatchRequestsToWindowManager(Handle w);
// A request to the window manager to move or resize `window` (_NET_MOVERESIZE_WINDOW):
// whether it asks for a size while naming no place.
struct MoveResizeRequest {
  unsigned long window = 0;
  bool sizeOnly = false;
};
std::optional<MoveResizeRequest> MoveResizeRequestIn(const SDL_SysWMmsg& msg);
// Whether the window manager has put the window in full screen or a maximised state.
bool FullscreenOrMaximised(Handle w);
// Asks the window manager to drop full screen and both maximised states.
void LeaveFullscreenAndMaximised(Handle w);
// Sends what is queued and waits until the server has answered it all, so that errors
// about earlier requests have arrived.
void Sync(Handle w);

// The desktop's Xft.dpi from the root window's resources as they are now; 0 when unset.
double XftDpi(Handle w);

// Installs the error handlers: an error about a watched window marks it lost and prints
// nothing, one about a window the program destroyed is ignored; a lost server prints
// one line and ends the process with status 1.
void InstallErrorHandlers();
// Errors about `w` set `*lost` until Unwatch.
void Watch(Handle w, bool* lost);
// The program is destroying `w`: errors about it that arrive later (for requests SDL
// made before, or as the display closes) are ignored.
void Unwatch(Handle w);

}  // namespace xpkit::x11
