#include "xpkit/platform/User.h"

#include <algorithm>

#include "xpkit/platform/Gdi.h"

namespace xpkit {
namespace {

// Window handles: the session's tag in bits 25..31 above a counter that steps by 2.
constexpr std::uint32_t kCounterMask = (1u << 25) - 1;

bool FitsInt32(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

const User::WindowInfo* User::Find(HWND h) const {
  auto it = windows_.find(h);
  return it == windows_.end() ? nullptr : &it->second;
}

User::WindowInfo* User::Find(HWND h) {
  auto it = windows_.find(h);
  return it == windows_.end() ? nullptr : &it->second;
}

void User::Redraw(HWND h) {
  // By index: a listener may add or remove listeners.
  for (std::size_t i = 0; i < redraw_.size(); ++i) {
    const auto listener = redraw_[i].second;
    listener(h);
  }
}

// Screen position of a window's top-left corner. Every rectangle was checked to fit in
// 32 bits, and so are the sums of the nesting depths the kit builds; 64-bit sums keep a
// deep pile of far-placed windows from overflowing on the way.
POINT User::Origin(HWND h) const {
  std::int64_t x = 0, y = 0;
  for (const WindowInfo* w = Find(h); w; w = Find(w->parent)) {
    x += w->rect.left;
    y += w->rect.top;
  }
  return {static_cast<LONG>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)),
          static_cast<LONG>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX))};
}

bool User::Hits(HWND h, const WindowInfo& w, POINT screen) const {
  const POINT o = Origin(h);
  const std::int64_t x = std::int64_t{screen.x} - o.x, y = std::int64_t{screen.y} - o.y;
  if (x < 0 || y < 0 || x >= std::int64_t{w.rect.right} - w.rect.left || y >= std::int64_t{w.rect.bottom} - w.rect.top)
    return false;
  return w.region == 0 || gdi_.PtInRegion(w.region, static_cast<int>(x), static_cast<int>(y));
}

HWND User::Descend(HWND h, POINT screen) const {
  for (;;) {
    const WindowInfo* w = Find(h);
    HWND next = 0;
    for (auto it = w->children.rbegin(); it != w->children.rend() && !next; ++it) {
      const WindowInfo* c = Find(*it);
      if (c && c->visible && Hits(*it, *c, screen)) {
        if (!c->enabled) return h;
        next = *it;
      }
    }
    if (!next) return h;
    h = next;
  }
}

HWND User::CreateWindowHandle(HWND parent, const RECT& rect) {
  WindowInfo* p = parent ? Find(parent) : nullptr;
  if (parent && !p) return 0;
  if (next_ > kCounterMask) return 0;  // this session has made all the windows it can
  const HWND h = (tag_ << 25) | next_;
  next_ += 2;
  WindowInfo info;
  info.parent = parent;
  info.rect = rect;
  windows_.emplace(h, info);
  if (parent) p->children.push_back(h);
  else topLevel_.push_back(h);
  return h;
}

BOOL User::DestroyWindow(HWND hwnd) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  auto& siblings = w->parent ? Find(w->parent)->children : topLevel_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
  // The window and everything inside it, gathered without recursion, however deep.
  std::vector<HWND> doomed{hwnd};
  for (std::size_t i = 0; i < doomed.size(); ++i) {
    WindowInfo& d = *Find(doomed[i]);
    doomed.insert(doomed.end(), d.children.begin(), d.children.end());
    if (d.region) gdi_.DeleteObject(d.region);
    if (capture_ == doomed[i]) capture_ = 0;
    if (lock_.holder == doomed[i]) lock_.holder = 0;
  }
  for (HWND h : doomed) windows_.erase(h);
  return TRUE;
}

BOOL User::IsWindow(HWND hwnd) const { return Find(hwnd) ? TRUE : FALSE; }

BOOL User::MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  WindowInfo* w = Find(hwnd);
  const std::int64_t right = std::int64_t{x} + std::max(width, 0), bottom = std::int64_t{y} + std::max(height, 0);
  if (!w || !FitsInt32(right) || !FitsInt32(bottom)) return FALSE;
  w->rect = {x, y, static_cast<LONG>(right), static_cast<LONG>(bottom)};
  if (repaint) Redraw(hwnd);
  return TRUE;
}

BOOL User::ShowWindow(HWND hwnd, int command) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  const bool was = w->visible;
  w->visible = command != SW_HIDE;
  return was ? TRUE : FALSE;
}

BOOL User::IsWindowVisible(HWND hwnd) const {
  const WindowInfo* w = Find(hwnd);
  return w && w->visible ? TRUE : FALSE;
}

BOOL User::EnableWindow(HWND hwnd, BOOL enable) {
  WindowInfo* w = Find(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = !w->enabled;
  w->enabled = enable != FALSE;
  if (!w->enabled && capture_ == hwnd) capture_ = 0;
  return wasDisabled ? TRUE : FALSE;
}

BOOL User::IsWindowEnabled(HWND hwnd) const {
  const WindowInfo* w = Find(hwnd);
  return w && w->enabled ? TRUE : FALSE;
}

BOOL User::GetClientRect(HWND hwnd, RECT* rect) const {
  const WindowInfo* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  return TRUE;
}

BOOL User::GetWindowRect(HWND hwnd, RECT* rect) const {
  const WindowInfo* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  const POINT o = Origin(hwnd);
  *rect = {o.x, o.y, o.x + w->rect.right - w->rect.left, o.y + w->rect.bottom - w->rect.top};
  return TRUE;
}

BOOL User::GetRectInParent(HWND hwnd, RECT* rect) const {
  const WindowInfo* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  return TRUE;
}

BOOL User::ClientToScreen(HWND hwnd, POINT* point) const {
  if (!Find(hwnd) || !point) return FALSE;
  const POINT o = Origin(hwnd);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL User::ScreenToClient(HWND hwnd, POINT* point) const {
  if (!Find(hwnd) || !point) return FALSE;
  const POINT o = Origin(hwnd);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int User::SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  WindowInfo* w = Find(hwnd);
  if (!w) return 0;
  if (region && !gdi_.RegionOf(region)) return 0;
  if (w->region && w->region != region) gdi_.DeleteObject(w->region);
  w->region = region;
  if (redraw) Redraw(hwnd);
  return 1;
}

HRGN User::GetWindowRegionHandle(HWND hwnd) const {
  const WindowInfo* w = Find(hwnd);
  return w ? w->region : 0;
}

BOOL User::InvalidateRect(HWND hwnd, const RECT*, BOOL) {
  if (!Find(hwnd)) return FALSE;
  Redraw(hwnd);
  return TRUE;
}

HWND User::WindowFromPoint(POINT point) const {
  for (auto it = topLevel_.rbegin(); it != topLevel_.rend(); ++it) {
    const WindowInfo* w = Find(*it);
    if (w->visible && Hits(*it, *w, point)) return Descend(*it, point);
  }
  return 0;
}

BOOL User::GetCursorPos(POINT* point) const {
  if (!point) return FALSE;
  *point = cursor_;
  return TRUE;
}

BOOL User::SetCursorPos(int x, int y) {
  cursor_ = {x, y};
  return TRUE;
}

HWND User::SetCapture(HWND hwnd) {
  const HWND previous = capture_;
  if (Find(hwnd)) capture_ = hwnd;
  return previous;
}

BOOL User::ReleaseCapture() {
  capture_ = 0;
  return TRUE;
}

BOOL User::LockWindowUpdate(HWND hwnd) {
  if (hwnd == 0) {
    ++lock_.unlockCalls;
    lock_.holder = 0;
    return TRUE;
  }
  ++lock_.lockCalls;
  if (!Find(hwnd) || (lock_.holder != 0 && lock_.holder != hwnd)) return FALSE;
  lock_.holder = hwnd;
  return TRUE;
}

int User::AddRedrawListener(std::function<void(HWND)> listener) {
  redraw_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void User::RemoveRedrawListener(int id) {
  std::erase_if(redraw_, [id](const auto& l) { return l.first == id; });
}

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

}  // namespace xpkit
