// The USER window calls, under their Win32 names, over a session's table of windows:
// child windows, positions, visibility, enabled state, window regions, the cursor, mouse
// capture and the window-update lock. Window handles carry the session's tag, so a
// window of another session is no window here.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Gdi;

constexpr int SW_HIDE = 0, SW_SHOW = 5;

constexpr int COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_BTNTEXT = 18, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6;

struct WindowUpdateLockState {
  HWND holder = 0;
  int lockCalls = 0;    // calls with a window
  int unlockCalls = 0;  // calls with 0
};

class User {
 public:
  // `tag` goes into every window handle; `gdi` holds the windows' regions.
  User(std::uint32_t tag, Gdi& gdi) : tag_(tag), gdi_(gdi) {}
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  // Creates a window; `rect` is in the parent's client coordinates, or in screen
  // coordinates for a top-level window (parent 0). Returns 0 for a bad parent, and once
  // the session has made all the windows its handles can name.
  HWND CreateWindowHandle(HWND parent, const RECT& rect);
  // Destroys the window and every window inside it.
  BOOL DestroyWindow(HWND hwnd);
  BOOL IsWindow(HWND hwnd) const;
  BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
  BOOL ShowWindow(HWND hwnd, int command);
  BOOL IsWindowVisible(HWND hwnd) const;
  // Returns nonzero when the window was disabled before.
  BOOL EnableWindow(HWND hwnd, BOOL enable);
  BOOL IsWindowEnabled(HWND hwnd) const;

  BOOL GetClientRect(HWND hwnd, RECT* rect) const;
  BOOL GetWindowRect(HWND hwnd, RECT* rect) const;  // screen coordinates
  // The window's rectangle in its parent's client coordinates (screen coordinates for a
  // top-level window), found without walking up to the screen.
  BOOL GetRectInParent(HWND hwnd, RECT* rect) const;
  BOOL ClientToScreen(HWND hwnd, POINT* point) const;
  BOOL ScreenToClient(HWND hwnd, POINT* point) const;

  // The window takes ownership of `region` (0 removes the region) and frees the one it had.
  int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
  // The region a window owns, 0 for none (for composition and tests).
  HRGN GetWindowRegionHandle(HWND hwnd) const;
  BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);

  // The deepest visible window under a screen point, honouring window regions; a disabled
  // child is passed over in favour of its parent.
  HWND WindowFromPoint(POINT point) const;
  BOOL GetCursorPos(POINT* point) const;
  BOOL SetCursorPos(int x, int y);

  HWND SetCapture(HWND hwnd);
  BOOL ReleaseCapture();
  HWND GetCapture() const { return capture_; }

  // The session's single window-update lock: a second window cannot lock while one
  // holds it; LockWindowUpdate(0) releases it.
  BOOL LockWindowUpdate(HWND hwnd);
  const WindowUpdateLockState& WindowUpdateLock() const { return lock_; }

  // Listeners called with the window whenever a window asks to be redrawn (a region
  // change with redraw, InvalidateRect); a host's backend repaints from them.
  int AddRedrawListener(std::function<void(HWND)> listener);
  void RemoveRedrawListener(int id);

 private:
  struct WindowInfo {
    HWND parent = 0;
    RECT rect{};
    bool visible = true;
    bool enabled = true;
    HRGN region = 0;
    std::vector<HWND> children;  // creation order; later ones lie above
  };
  const WindowInfo* Find(HWND h) const;
  WindowInfo* Find(HWND h);
  void Redraw(HWND h);
  POINT Origin(HWND h) const;
  bool Hits(HWND h, const WindowInfo& w, POINT screen) const;
  HWND Descend(HWND h, POINT screen) const;

  std::uint32_t tag_;
  Gdi& gdi_;
  std::map<HWND, WindowInfo> windows_;
  std::vector<HWND> topLevel_;
  std::uint32_t next_ = 0x10000;
  POINT cursor_{};
  HWND capture_ = 0;
  WindowUpdateLockState lock_;
  std::vector<std::pair<int, std::function<void(HWND)>>> redraw_;
  int nextListener_ = 1;
};

// System colours of the Windows XP default blue scheme, indexes 0..30; 0 for others.
COLORREF GetSysColor(int index);

// An OLE colour as GDI wants it: a system colour (high bit set) through GetSysColor of
// its index, any other value by its low 24 bits.
COLORREF OleTranslateColor(std::uint32_t oleColor);

}  // namespace xpkit
