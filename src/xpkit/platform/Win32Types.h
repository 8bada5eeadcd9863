// The Win32 value types the drawing layer speaks in: handles, RECT, POINT, COLORREF.
#pragma once
#include <cstdint>

namespace xpkit {

using BOOL = std::int32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

// Handles are 32-bit values looked up in checked tables: a stale, foreign or
// wrong-kind handle is detected, never dereferenced.
using HGDIOBJ = std::uint32_t;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HRGN = HGDIOBJ;
using HFONT = HGDIOBJ;
using HDC = HGDIOBJ;
using HWND = std::uint32_t;

// glib defines TRUE and FALSE as macros of the same values; set them aside here so this
// header compiles before or after glib's.
#pragma push_macro("TRUE")
#pragma push_macro("FALSE")
#undef TRUE
#undef FALSE
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
#pragma pop_macro("TRUE")
#pragma pop_macro("FALSE")
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

struct RECT {
  LONG left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const RECT&) const = default;
};

struct POINT {
  LONG x = 0, y = 0;
  bool operator==(const POINT&) const = default;
};

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace xpkit
