#include "xpkit/backends/sdl2/detail/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <thread>
#include <vector>

namespace xpkit::x11 {
namespace {

constexpr unsigned long kMwmHintsFunctions = 1, kMwmHintsDecorations = 2;
constexpr unsigned long kMwmFuncResize = 2, kMwmFuncMove = 4, kMwmFuncMinimize = 8, kMwmFuncMaximize = 16,
                        kMwmFuncClose = 32;
constexpr unsigned long kMwmDecorBorder = 2, kMwmDecorResizeH = 4, kMwmDecorTitle = 8, kMwmDecorMenu = 16,
                        kMwmDecorMinimize = 32, kMwmDecorMaximize = 64;
constexpr long kNetWmStateRemove = 0;
constexpr long kSourceApplication = 1;

Atom Intern(Handle w, const char* name) { return XInternAtom(w.display, name, False); }

void SendToRoot(Handle w, Atom type, long d0, long d1 = 0, long d2 = 0, long d3 = 0) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w.window;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = d0;
  e.xclient.data.l[1] = d1;
  e.xclient.data.l[2] = d2;
  e.xclient.data.l[3] = d3;
  XSendEvent(w.display, DefaultRootWindow(w.display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// The first 32-bit item of a window property, when it has one of that type.
std::optional<unsigned long> WindowProperty(Display* d, Window window, Atom property, Atom type = XA_WINDOW) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<unsigned long> value;
  if (XGetWindowProperty(d, window, property, 0, 1, False, type, &actual, &format, &count, &after, &data) == Success &&
      data && format == 32 && count == 1)
    value = reinterpret_cast<unsigned long*>(data)[0];
  if (data) XFree(data);
  return value;
}

// Fixed context names, so that the handlers need no stored context numbers: a watched
// window's lost flag, and a mark on the root window of a connection that has one.
XContext LostContext() { return XStringToContext(const_cast<char*>("xpkit.window-lost")); }
XContext WatchedContext() { return XStringToContext(const_cast<char*>("xpkit.watched-display")); }
// What a destroyed window's lost flag points to instead.
constexpr char kDestroyed = 0;
XPointer DestroyedMark() { return const_cast<char*>(&kDestroyed); }

int OnError(Display* d, XErrorEvent* e) {
  XPointer found = nullptr;
  if (XFindContext(d, e->resourceid, LostContext(), &found) == 0 && found) {
    if (found != DestroyedMark()) *reinterpret_cast<bool*>(found) = true;
    return 0;
  }
  // SDL's second connection (it wakes its event wait through it) reports on a window
  // that has gone, too; that is SDL's business.
  if (XFindContext(d, DefaultRootWindow(d), WatchedContext(), &found) != 0) return 0;
  char text[160] = "";
  XGetErrorText(d, e->error_code, text, sizeof text);
  std::fprintf(stderr, "%s: X error: %s (request %d)\n", program_invocation_short_name, text, e->request_code);
  return 0;
}

[[noreturn]] int OnIoError(Display*) {
  std::fprintf(stderr, "%s: the connection to the X display was lost\n", program_invocation_short_name);
  _exit(1);
}

std::optional<FrameExtents> ReadFrameExtents(Handle w) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<FrameExtents> out;
  if (XGetWindowProperty(w.display, w.window, Intern(w, "_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL, &type,
                         &format, &count, &after, &data) == Success &&
      data && format == 32 && count == 4) {
    const long* v = reinterpret_cast<const long*>(data);
    out = FrameExtents{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
  }
  if (data) XFree(data);
  return out;
}

}  // namespace

Handle Of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {info.info.x11.display, info.info.x11.window};
}

int ConnectionFd(Handle w) { return w ? ConnectionNumber(w.display) : -1; }

MotifHints MotifHintsFor(const FrameStyle& frame) {
  MotifHints h;
  h.flags = kMwmHintsFunctions | kMwmHintsDecorations;
  h.functions = kMwmFuncMove | kMwmFuncClose;
  h.decorations = kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu;
  if (frame.minButton) {
    h.functions |= kMwmFuncMinimize;
    h.decorations |= kMwmDecorMinimize;
  }
  if (frame.maxButton) {
    h.functions |= kMwmFuncMaximize;
    h.decorations |= kMwmDecorMaximize;
  }
  if (!frame.fixedSize) {
    h.functions |= kMwmFuncResize;
    h.decorations |= kMwmDecorResizeH;
  }
  return h;
}

void SetMotifHints(Handle w, const MotifHints& hints) {
  if (!w) return;
  const long data[5] = {static_cast<long>(hints.flags), static_cast<long>(hints.functions),
                        static_cast<long>(hints.decorations), 0, 0};
  const Atom motif = Intern(w, "_MOTIF_WM_HINTS");
  XChangeProperty(w.display, w.window, motif, motif, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(data),
                  5);
}

void SetGroupLeader(Handle w, unsigned long leader) {
  if (!w) return;
  XWMHints* hints = XGetWMHints(w.display, w.window);
  XWMHints fresh{};
  XWMHints* h = hints ? hints : &fresh;
  h->flags |= WindowGroupHint;
  h->window_group = leader;
  XSetWMHints(w.display, w.window, h);
  if (hints) XFree(hints);
}

void MakeModalDialog(Handle w, Handle owner) {
  if (!w) return;
  if (owner) XSetTransientForHint(w.display, w.window, owner.window);
  const Atom type = Intern(w, "_NET_WM_WINDOW_TYPE_DIALOG");
  XChangeProperty(w.display, w.window, Intern(w, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  const Atom states[] = {Intern(w, "_NET_WM_STATE_MODAL"), Intern(w, "_NET_WM_STATE_SKIP_TASKBAR"),
                         Intern(w, "_NET_WM_STATE_SKIP_PAGER")};
  XChangeProperty(w.display, w.window, Intern(w, "_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states), 3);
}

bool WindowManagerRunning(Handle w) {
  if (!w) return false;
  const Atom check = Intern(w, "_NET_SUPPORTING_WM_CHECK");
  const auto child = WindowProperty(w.display, DefaultRootWindow(w.display), check);
  if (!child) return false;
  // A window manager that has gone leaves its property behind: the child must name itself.
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const auto self = WindowProperty(w.display, *child, check);
  XSync(w.display, False);
  XSetErrorHandler(previous);
  return self && *self == *child;
}

std::optional<FrameExtents> RequestFrameExtents(Handle w, int timeoutMs) {
  if (!w) return std::nullopt;
  SendToRoot(w, Intern(w, "_NET_REQUEST_FRAME_EXTENTS"), 0);
  XFlush(w.display);
  // The answer is a property change, usually within a few milliseconds; reading the
  // property leaves the event queue to SDL.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (auto e = ReadFrameExtents(w)) return e;
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
}

std::optional<Geometry> ClientGeometry(Handle w) {
  if (!w) return std::nullopt;
  XWindowAttributes a;
  Window child = 0;
  int x = 0, y = 0;
  if (!XGetWindowAttributes(w.display, w.window, &a) ||
      !XTranslateCoordinates(w.display, w.window, DefaultRootWindow(w.display), 0, 0, &x, &y, &child))
    return std::nullopt;
  return Geometry{x, y, a.width, a.height};
}

std::optional<Geometry> ActiveMonitor(Handle w) {
  if (!w) return std::nullopt;
  int events = 0, errors = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(w.display, &events, &errors) || !XRRQueryVersion(w.display, &major, &minor) ||
      major * 100 + minor < 105)
    return std::nullopt;
  const Window root = DefaultRootWindow(w.display);
  Window rootBack = 0, child = 0;
  int px = 0, py = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  const bool pointer = XQueryPointer(w.display, root, &rootBack, &child, &px, &py, &wx, &wy, &mask);
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(w.display, root, True, &count);
  std::optional<Geometry> found, primary, first;
  for (int i = 0; i < count; ++i) {
    const XRRMonitorInfo& m = monitors[i];
    const Geometry g{m.x, m.y, m.width, m.height};
    if (!first) first = g;
    if (m.primary && !primary) primary = g;
    if (pointer && !found && px >= m.x && px < m.x + m.width && py >= m.y && py < m.y + m.height) found = g;
  }
  if (monitors) XRRFreeMonitors(monitors);
  return found ? found : primary ? primary : first;
}

void MoveClientTo(Handle w, int x, int y, const FrameExtents& frame) {
  if (!w) return;
  // The window manager puts the frame's corner where a client asks its window to be.
  XMoveWindow(w.display, w.window, x - frame.left, y - frame.top);
  XFlush(w.display);
}

void WatchRequestsToWindowManager(Handle w) {
  if (!w) return;
  const Window root = DefaultRootWindow(w.display);
  XWindowAttributes a;
  if (!XGetWindowAttributes(w.display, root, &a)) return;
  XSelectInput(w.display, root, a.your_event_mask | SubstructureNotifyMask);
  XFlush(w.display);
}

std::optional<MoveResizeRequest> MoveResizeRequestIn(const SDL_SysWMmsg& msg) {
  if (msg.subsystem != SDL_SYSWM_X11) return std::nullopt;
  const XEvent& e = msg.msg.x11.event;
  if (e.type != ClientMessage || e.xclient.format != 32 ||
      e.xclient.message_type != XInternAtom(e.xclient.display, "_NET_MOVERESIZE_WINDOW", False))
    return std::nullopt;
  // The flags say which of x, y, width and height the request gives.
  constexpr long kX = 1 << 8, kY = 1 << 9, kWidth = 1 << 10, kHeight = 1 << 11;
  const long flags = e.xclient.data.l[0];
  return MoveResizeRequest{e.xclient.window, (flags & (kWidth | kHeight)) != 0 && (flags & (kX | kY)) == 0};
}

namespace {

// Whether the window's _NET_WM_STATE holds any of `names`.
bool HasState(Handle w, std::initializer_list<const char*> names) {
  std::vector<Atom> wanted;
  for (const char* name : names) wanted.push_back(Intern(w, name));
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(w.display, w.window, Intern(w, "_NET_WM_STATE"), 0, 64, False, XA_ATOM, &type, &format,
                         &count, &after, &data) == Success &&
      data && format == 32) {
    const Atom* states = reinterpret_cast<const Atom*>(data);
    found = std::find_first_of(states, states + count, wanted.begin(), wanted.end()) != states + count;
  }
  if (data) XFree(data);
  return found;
}

}  // namespace

bool Iconified(Handle w) {
  if (!w) return false;
  const Atom wmState = Intern(w, "WM_STATE");
  const auto state = WindowProperty(w.display, w.window, wmState, wmState);
  return HasState(w, {"_NET_WM_STATE_HIDDEN"}) || state == static_cast<unsigned long>(IconicState);
}

bool FullscreenOrMaximised(Handle w) {
  return w && HasState(w, {"_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"});
}

void Deiconify(Handle w) {
  if (!w) return;
  XMapRaised(w.display, w.window);
  SendToRoot(w, Intern(w, "_NET_ACTIVE_WINDOW"), kSourceApplication, CurrentTime);
  XFlush(w.display);
}

void LeaveFullscreenAndMaximised(Handle w) {
  if (!w) return;
  const Atom state = Intern(w, "_NET_WM_STATE");
  SendToRoot(w, state, kNetWmStateRemove, static_cast<long>(Intern(w, "_NET_WM_STATE_FULLSCREEN")), 0,
             kSourceApplication);
  SendToRoot(w, state, kNetWmStateRemove, static_cast<long>(Intern(w, "_NET_WM_STATE_MAXIMIZED_VERT")),
             static_cast<long>(Intern(w, "_NET_WM_STATE_MAXIMIZED_HORZ")), kSourceApplication);
  XFlush(w.display);
}

void Sync(Handle w) {
  if (w) XSync(w.display, False);
}

double XftDpi(Handle w) {
  if (!w) return 0;
  // XResourceManagerString is a copy from when the display opened; the root window's
  // property is what the desktop says now.
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  double dpi = 0;
  if (XGetWindowProperty(w.display, DefaultRootWindow(w.display), XA_RESOURCE_MANAGER, 0, 1 << 20, False, XA_STRING,
                         &type, &format, &count, &after, &data) == Success &&
      data && format == 8) {
    XrmInitialize();
    if (XrmDatabase db = XrmGetStringDatabase(reinterpret_cast<const char*>(data))) {
      char* kind = nullptr;
      XrmValue value{};
      if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &kind, &value) && value.addr) dpi = std::atof(value.addr);
      XrmDestroyDatabase(db);
    }
  }
  if (data) XFree(data);
  return dpi;
}

void InstallErrorHandlers() {
  XSetErrorHandler(OnError);
  XSetIOErrorHandler(OnIoError);
}

void Watch(Handle w, bool* lost) {
  if (!w) return;
  XSaveContext(w.display, w.window, LostContext(), reinterpret_cast<XPointer>(lost));
  XSaveContext(w.display, DefaultRootWindow(w.display), WatchedContext(), reinterpret_cast<XPointer>(w.display));
}

void Unwatch(Handle w) {
  if (w) XSaveContext(w.display, w.window, LostContext(), DestroyedMark());
}

}  // namespace xpkit::x11
