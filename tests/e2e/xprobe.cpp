// Prints the colour of pixels of the X screen as "R G B" lines, one per X,Y argument,
// so that a test can check what a real window shows.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: xprobe X Y [X Y ...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "xprobe: cannot open display\n");
    return 1;
  }
  const Window root = DefaultRootWindow(d);
  for (int i = 1; i + 1 < argc; i += 2) {
    const int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
    XImage* img = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) {
      std::fprintf(stderr, "xprobe: cannot read pixel %d,%d\n", x, y);
      return 1;
    }
    const unsigned long p = XGetPixel(img, 0, 0);
    std::printf("%lu %lu %lu\n", (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    XDestroyImage(img);
  }
  XCloseDisplay(d);
  return 0;
}
