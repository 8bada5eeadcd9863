// Looks at and pokes the X screen for the end-to-end tests and the benchmark:
//   xprobe X Y [X Y ...]          the colour of screen pixels, "R G B" a line
//   xprobe await X Y R G B MS     waits until the pixel has that colour (status 1 after
//                                 MS milliseconds); prints when it saw it, in ns since the epoch
//   xprobe find FILE.ppm MS       waits until the picture (binary PPM) shows on the screen
//                                 pixel for pixel (status 1 after MS milliseconds); prints
//                                 "x y ns": where, and when it saw it in ns since the epoch
//   xprobe gone FILE.ppm MS       waits until the picture shows nowhere on the screen
//                                 (status 1 after MS milliseconds)
//   xprobe frame WID              "x y width height left right top bottom shown": the
//                                 client area on the screen, the frame's extents, and 1
//                                 when the window is viewable
//   xprobe motif WID              the five numbers of _MOTIF_WM_HINTS
//   xprobe owner WID              "OWNER GROUP": the window WID is transient for and its
//                                 window group's leader, 0 for none
//   xprobe fullscreen WID         asks the window manager to make WID full screen
//   xprobe close WID              asks WID to close, as its close box does
//   xprobe moveresize WID X Y W H asks the window manager to move and resize WID as wmctrl
//                                 -e does (-1: that one is not asked for)
//   xprobe wm                     status 0 when a window manager runs
//   xprobe focus-thief            maps a window, gives it the focus, prints "ready" and
//                                 stays until killed
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: xprobe X Y [X Y ...] | await X Y R G B MS | find FILE.ppm MS | gone FILE.ppm MS | frame WID | motif WID |\n"
               "       owner WID | fullscreen WID | close WID | moveresize WID X Y W H | wm | focus-thief\n");
  return 2;
}

Window WindowArg(const char* text) { return static_cast<Window>(std::strtoul(text, nullptr, 0)); }

long long NowNs() {
  return static_cast<long long>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count());
}

bool Pixel(Display* d, int x, int y, unsigned long& rgb) {
  XImage* img = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return false;
  rgb = XGetPixel(img, 0, 0) & 0xFFFFFF;
  XDestroyImage(img);
  return true;
}

std::vector<long> Cardinals(Display* d, Window w, const char* name, Atom type) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> out;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 16, False, type, &actual, &format, &count, &after,
                         &data) == Success &&
      data && format == 32)
    out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  if (data) XFree(data);
  return out;
}

int Pixels(Display* d, int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) {
    unsigned long p = 0;
    if (!Pixel(d, std::atoi(argv[i]), std::atoi(argv[i + 1]), p)) {
      std::fprintf(stderr, "xprobe: cannot read pixel %s,%s\n", argv[i], argv[i + 1]);
      return 1;
    }
    std::printf("%lu %lu %lu\n", (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  return 0;
}

int Await(Display* d, char** a) {
  const unsigned long want = (std::strtoul(a[2], nullptr, 10) << 16) | (std::strtoul(a[3], nullptr, 10) << 8) |
                             std::strtoul(a[4], nullptr, 10);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(a[5]));
  while (std::chrono::steady_clock::now() < end) {
    unsigned long p = 0;
    if (Pixel(d, std::atoi(a[0]), std::atoi(a[1]), p) && p == want) {
      std::printf("%lld\n", NowNs());
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return 1;
}

// A binary PPM's pixels as 0xRRGGBB; empty when the file is not one of 8-bit channels.
std::vector<unsigned long> ReadPpm(const char* path, int& w, int& h) {
  std::vector<unsigned long> out;
  FILE* f = std::fopen(path, "rb");
  if (!f) return out;
  int maxval = 0;
  if (std::fscanf(f, "P6 %d %d %d", &w, &h, &maxval) == 3 && maxval == 255 && std::fgetc(f) != EOF && w > 0 && h > 0) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(w) * h * 3);
    if (std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size())
      for (std::size_t i = 0; i < bytes.size(); i += 3)
        out.push_back((static_cast<unsigned long>(bytes[i]) << 16) | (bytes[i + 1] << 8) | bytes[i + 2]);
  }
  std::fclose(f);
  return out;
}

// Where the picture shows on the screen pixel for pixel, looked at once; false when nowhere.
bool Locate(Display* d, const std::vector<unsigned long>& want, int w, int h, int& foundX, int& foundY) {
  const Window root = DefaultRootWindow(d);
  XWindowAttributes ra;
  XGetWindowAttributes(d, root, &ra);
  XImage* img = XGetImage(d, root, 0, 0, ra.width, ra.height, AllPlanes, ZPixmap);
  if (!img) return false;
  std::vector<unsigned long> screen(static_cast<std::size_t>(ra.width) * ra.height);
  // XGetPixel for every pixel would take most of a second a look.
  for (int y = 0; y < ra.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(img->data + y * img->bytes_per_line);
    for (int x = 0; x < ra.width; ++x)
      screen[static_cast<std::size_t>(y) * ra.width + x] =
          (img->bits_per_pixel == 32 ? row[x] : XGetPixel(img, x, y)) & 0xFFFFFF;
  }
  XDestroyImage(img);
  auto at = [&](int x, int y) { return screen[static_cast<std::size_t>(y) * ra.width + x]; };
  for (int y = 0; y + h <= ra.height; ++y) {
    for (int x = 0; x + w <= ra.width; ++x) {
      if (at(x, y) != want[0] || at(x + w - 1, y) != want[w - 1]) continue;
      bool same = true;
      for (int j = 0; j < h && same; ++j)
        for (int i = 0; i < w && same; ++i) same = at(x + i, y + j) == want[static_cast<std::size_t>(j) * w + i];
      if (!same) continue;
      foundX = x;
      foundY = y;
      return true;
    }
  }
  return false;
}

// find (shown) or gone (not shown): waits until the picture is or is no longer on the screen.
int Find(Display* d, char** a, bool shown) {
  int w = 0, h = 0;
  const std::vector<unsigned long> want = ReadPpm(a[0], w, h);
  if (want.empty()) {
    std::fprintf(stderr, "xprobe: %s is not a binary PPM\n", a[0]);
    return 2;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(a[1]));
  while (std::chrono::steady_clock::now() < end) {
    int x = 0, y = 0;
    if (Locate(d, want, w, h, x, y) == shown) {
      if (shown) std::printf("%d %d %lld\n", x, y, NowNs());
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return 1;
}

int Frame(Display* d, Window w) {
  XWindowAttributes a;
  Window child = 0;
  int x = 0, y = 0;
  if (!XGetWindowAttributes(d, w, &a) || !XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child))
    return 1;
  auto e = Cardinals(d, w, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  e.resize(4, 0);
  std::printf("%d %d %d %d %ld %ld %ld %ld %d\n", x, y, a.width, a.height, e[0], e[1], e[2], e[3],
              a.map_state == IsViewable ? 1 : 0);
  return 0;
}

int Motif(Display* d, Window w) {
  const Atom motif = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  const auto v = Cardinals(d, w, "_MOTIF_WM_HINTS", motif);
  for (std::size_t i = 0; i < v.size(); ++i) std::printf(i ? " %ld" : "%ld", v[i]);
  std::printf("\n");
  return v.empty() ? 1 : 0;
}

int Owner(Display* d, Window w) {
  Window owner = 0;
  if (!XGetTransientForHint(d, w, &owner)) owner = 0;
  unsigned long group = 0;
  if (XWMHints* h = XGetWMHints(d, w)) {
    if (h->flags & WindowGroupHint) group = h->window_group;
    XFree(h);
  }
  std::printf("%lu %lu\n", owner, group);
  return 0;
}

// A client message of `type` about window `about`: to the window manager (through the
// root window) when `to` is 0, else to `to` itself.
void Send(Display* d, Window about, const char* type, std::initializer_list<long> data, Window to = 0) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = about;
  e.xclient.message_type = XInternAtom(d, type, False);
  e.xclient.format = 32;
  int i = 0;
  for (const long v : data) e.xclient.data.l[i++] = v;
  if (to)
    XSendEvent(d, to, False, NoEventMask, &e);
  else
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XSync(d, False);
}

long AtomOf(Display* d, const char* name) { return static_cast<long>(XInternAtom(d, name, False)); }

int Fullscreen(Display* d, Window w) {
  // Add the state, as a pager or the user would ask (source 2).
  Send(d, w, "_NET_WM_STATE", {1, AtomOf(d, "_NET_WM_STATE_FULLSCREEN"), 0, 2});
  return 0;
}

int Close(Display* d, Window w) {
  Send(d, w, "WM_PROTOCOLS", {AtomOf(d, "WM_DELETE_WINDOW"), CurrentTime}, w);
  return 0;
}

int MoveResize(Display* d, Window w, char** xywh) {
  long flags = 2 << 12;  // asked by a pager or the user, with the window's own gravity
  long v[4];
  for (int i = 0; i < 4; ++i) {
    v[i] = std::strtol(xywh[i], nullptr, 10);
    if (v[i] != -1) flags |= 1L << (8 + i);
  }
  Send(d, w, "_NET_MOVERESIZE_WINDOW", {flags, v[0], v[1], v[2], v[3]});
  return 0;
}

int WindowManager(Display* d) {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const auto root = Cardinals(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (root.size() != 1) return 1;
  const auto self = Cardinals(d, static_cast<Window>(root[0]), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  return self.size() == 1 && self[0] == root[0] ? 0 : 1;
}

int FocusThief(Display* d) {
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 120, 80, 0, 0, 0x808080);
  XStoreName(d, w, "focus-thief");
  XSelectInput(d, w, StructureNotifyMask | FocusChangeMask);
  XMapRaised(d, w);
  XEvent e;
  do XNextEvent(d, &e);
  while (e.type != MapNotify);
  // Ask as a user's click would, and take it outright where no window manager runs.
  Send(d, w, "_NET_ACTIVE_WINDOW", {2});
  XSetInputFocus(d, w, RevertToParent, CurrentTime);
  XSync(d, False);
  // Ready once the focus is here.
  for (int i = 0; i < 200; ++i) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    if (focus == w) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::printf("ready\n");
  std::fflush(stdout);
  while (true) XNextEvent(d, &e);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "xprobe: cannot open display\n");
    return 1;
  }
  const std::string cmd = argv[1];
  int rc;
  if (cmd == "await" && argc == 8)
    rc = Await(d, argv + 2);
  else if (cmd == "find" && argc == 4)
    rc = Find(d, argv + 2, true);
  else if (cmd == "gone" && argc == 4)
    rc = Find(d, argv + 2, false);
  else if (cmd == "frame" && argc == 3)
    rc = Frame(d, WindowArg(argv[2]));
  else if (cmd == "motif" && argc == 3)
    rc = Motif(d, WindowArg(argv[2]));
  else if (cmd == "owner" && argc == 3)
    rc = Owner(d, WindowArg(argv[2]));
  else if (cmd == "fullscreen" && argc == 3)
    rc = Fullscreen(d, WindowArg(argv[2]));
  else if (cmd == "close" && argc == 3)
    rc = Close(d, WindowArg(argv[2]));
  else if (cmd == "moveresize" && argc == 7)
    rc = MoveResize(d, WindowArg(argv[2]), argv + 3);
  else if (cmd == "wm" && argc == 2)
    rc = WindowManager(d);
  else if (cmd == "focus-thief" && argc == 2)
    rc = FocusThief(d);
  else if (argc >= 3 && argc % 2 == 1 && std::isdigit(static_cast<unsigned char>(cmd[0])))
    rc = Pixels(d, argc, argv);
  else
    rc = Usage();
  XCloseDisplay(d);
  return rc;
}
