// The USER window calls, under their Win32 names, over a table of windows kept by this
// layer: child windows, positions, visibility, enabled state, window regions, the
// cursor, mouse capture and the window-update lock.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/Win32Types.h"

namespace xpkit {

constexpr int SW_HIDE = 0, SW_SHOW = 5;

constexpr int COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_BTNTEXT = 18, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6;

// Creates a window; `rect` is in the parent's client coordinates, or in screen
// coordinates for a top-level window (parent 0). Returns 0 for a bad parent.
HWND CreateWindowHandle(HWND parent, const RECT& rect);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
// Returns nonzero when the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
HWND GetParent(HWND hwnd);

BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);

// The window takes ownership of `region` (0 removes the region) and frees the one it had.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// The region a window owns, 0 for none (for composition and tests).
HRGN GetWindowRegionHandle(HWND hwnd);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);

// The deepest visible window under a screen point, honouring window regions; a disabled
// child is passed over in favour of its parent.
HWND WindowFromPoint(POINT point);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);

HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// The system's single window-update lock: a second window cannot lock while one holds
// it; LockWindowUpdate(0) releases it.
BOOL LockWindowUpdate(HWND hwnd);
struct WindowUpdateLockState {
  HWND holder = 0;
  int lockCalls = 0;    // calls with a window
  int unlockCalls = 0;  // calls with 0
};
const WindowUpdateLockState& WindowUpdateLock();

// System colours of the Windows XP default blue scheme, indexes 0..30; 0 for others.
COLORREF GetSysColor(int index);

// An OLE colour as GDI wants it: a system colour (high bit set) through GetSysColor of
// its index, any other value by its low 24 bits.
COLORREF OleTranslateColor(std::uint32_t oleColor);

// Called with the window whenever a window asks to be redrawn (region change with
// redraw, InvalidateRect); the host's backend repaints from it.
void SetRedrawHook(std::function<void(HWND)> hook);

}  // namespace xpkit
