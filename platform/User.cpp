#include "platform/User.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/Gdi.h"

namespace xpkit {
namespace {

struct WindowInfo {
  HWND parent = 0;
  RECT rect{};
  bool visible = true;
  bool enabled = true;
  HRGN region = 0;
  std::vector<HWND> children;  // creation order; later ones lie above
};

struct WindowTable {
  std::map<HWND, WindowInfo> windows;
  std::vector<HWND> topLevel;
  HWND next = 0x00010000;
  POINT cursor{};
  HWND capture = 0;
  WindowUpdateLockState lock;
  std::function<void(HWND)> redraw;
};

WindowTable& T() {
  static WindowTable t;
  return t;
}

WindowInfo* Find(HWND h) {
  auto it = T().windows.find(h);
  return it == T().windows.end() ? nullptr : &it->second;
}

void Redraw(HWND h) {
  if (T().redraw) T().redraw(h);
}

// Screen position of a window's top-left corner.
POINT Origin(HWND h) {
  POINT p{};
  for (WindowInfo* w = Find(h); w; w = Find(w->parent)) {
    p.x += w->rect.left;
    p.y += w->rect.top;
  }
  return p;
}

bool Hits(HWND h, const WindowInfo& w, POINT screen) {
  const POINT o = Origin(h);
  const LONG x = screen.x - o.x, y = screen.y - o.y;
  if (x < 0 || y < 0 || x >= w.rect.right - w.rect.left || y >= w.rect.bottom - w.rect.top) return false;
  return w.region == 0 || PtInRegion(w.region, x, y);
}

HWND Descend(HWND h, POINT screen) {
  const WindowInfo* w = Find(h);
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    const WindowInfo* c = Find(*it);
    if (c && c->visible && Hits(*it, *c, screen)) return c->enabled ? Descend(*it, screen) : h;
  }
  return h;
}

}  // namespace

HWND CreateWindowHandle(HWND parent, const RECT& rect) {
  WindowTable& t = T();
  WindowInfo* p = parent ? Find(parent) : nullptr;
  if (parent && !p) return 0;
  const HWND h = t.next;
  t.next += 2;
  WindowInfo info;
  info.parent = parent;
  info.rect = rect;
  t.windows.emplace(h, info);
  if (parent) Find(parent)->children.push_back(h);
  else t.topLevel.push_back(h);
  return h;
}

BOOL DestroyWindow(HWND hwnd) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  for (HWND c : std::vector<HWND>(w->children)) DestroyWindow(c);
  w = Find(hwnd);
  if (w->region) DeleteObject(w->region);
  auto& siblings = w->parent ? Find(w->parent)->children : T().topLevel;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
  if (T().capture == hwnd) T().capture = 0;
  if (T().lock.holder == hwnd) T().lock.holder = 0;
  T().windows.erase(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  if (repaint) Redraw(hwnd);
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  const bool was = w->visible;
  w->visible = command != SW_HIDE;
  return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  const WindowInfo* w = Find(hwnd);
  return w && w->visible ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = !w->enabled;
  w->enabled = enable != FALSE;
  if (!w->enabled && T().capture == hwnd) T().capture = 0;
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  const WindowInfo* w = Find(hwnd);
  return w && w->enabled ? TRUE : FALSE;
}

HWND GetParent(HWND hwnd) {
  const WindowInfo* w = Find(hwnd);
  return w ? w->parent : 0;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  const WindowInfo* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  const WindowInfo* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  const POINT o = Origin(hwnd);
  *rect = {o.x, o.y, o.x + w->rect.right - w->rect.left, o.y + w->rect.bottom - w->rect.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  if (!Find(hwnd) || !point) return FALSE;
  const POINT o = Origin(hwnd);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  if (!Find(hwnd) || !point) return FALSE;
  const POINT o = Origin(hwnd);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  WindowInfo* w = Find(hwnd);
  if (!w) return 0;
  if (region && !RegionOf(region)) return 0;
  if (w->region && w->region != region) DeleteObject(w->region);
  w->region = region;
  if (redraw) Redraw(hwnd);
  return 1;
}

HRGN GetWindowRegionHandle(HWND hwnd) {
  const WindowInfo* w = Find(hwnd);
  return w ? w->region : 0;
}

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL) {
  if (!Find(hwnd)) return FALSE;
  Redraw(hwnd);
  return TRUE;
}

HWND WindowFromPoint(POINT point) {
  const auto& top = T().topLevel;
  for (auto it = top.rbegin(); it != top.rend(); ++it) {
    const WindowInfo* w = Find(*it);
    if (w->visible && Hits(*it, *w, point)) return Descend(*it, point);
  }
  return 0;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = T().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  T().cursor = {x, y};
  return TRUE;
}

HWND SetCapture(HWND hwnd) {
  const HWND previous = T().capture;
  if (Find(hwnd)) T().capture = hwnd;
  return previous;
}

BOOL ReleaseCapture() {
  T().capture = 0;
  return TRUE;
}

HWND GetCapture() { return T().capture; }

BOOL LockWindowUpdate(HWND hwnd) {
  WindowUpdateLockState& lock = T().lock;
  if (hwnd == 0) {
    ++lock.unlockCalls;
    lock.holder = 0;
    return TRUE;
  }
  ++lock.lockCalls;
  if (!Find(hwnd) || (lock.holder != 0 && lock.holder != hwnd)) return FALSE;
  lock.holder = hwnd;
  return TRUE;
}

const WindowUpdateLockState& WindowUpdateLock() { return T().lock; }

COLORREF GetSysColor(int index) {
  static constexpr COLORREF kBlueScheme[31] = {
      RGB(212, 208, 200), RGB(0, 78, 152),    RGB(0, 84, 227),    RGB(122, 150, 223), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(49, 106, 197),  RGB(255, 255, 255),
      RGB(236, 233, 216), RGB(172, 168, 153), RGB(172, 168, 153), RGB(0, 0, 0),       RGB(216, 228, 248),
      RGB(255, 255, 255), RGB(113, 111, 100), RGB(241, 239, 226), RGB(0, 0, 0),       RGB(255, 255, 225),
      RGB(181, 181, 181), RGB(0, 0, 128),     RGB(61, 149, 255),  RGB(157, 185, 235), RGB(49, 106, 197),
      RGB(236, 233, 216)};
  return index >= 0 && index <= 30 ? kBlueScheme[index] : 0;
}

COLORREF OleTranslateColor(std::uint32_t oleColor) {
  if (oleColor & 0x80000000u) return GetSysColor(static_cast<int>(oleColor & 0x7FFFFFFFu));
  return oleColor & 0x00FFFFFFu;
}

void SetRedrawHook(std::function<void(HWND)> hook) { T().redraw = std::move(hook); }

}  // namespace xpkit
