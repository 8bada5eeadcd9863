// The window table: client rectangles, hit tests through regions, capture, the lock.
#include <gtest/gtest.h>

#include "platform/Gdi.h"
#include "platform/User.h"

namespace xpkit {
namespace {

TEST(Windows, HitTestHonoursRegionsAndDisabledChildren) {
  const HWND top = CreateWindowHandle(0, {100, 100, 200, 150});
  const HWND child = CreateWindowHandle(top, {10, 10, 30, 20});
  HRGN shape = CreateRectRgn(0, 0, 20, 10);
  const HRGN corner = CreateRectRgn(0, 0, 1, 1);
  CombineRgn(shape, shape, corner, RGN_DIFF);
  DeleteObject(corner);
  const std::size_t live = LiveGdiObjectCount();
  ASSERT_EQ(SetWindowRgn(child, shape, TRUE), 1);
  EXPECT_EQ(WindowFromPoint({111, 110}), child);
  EXPECT_EQ(WindowFromPoint({110, 110}), top);  // the cut corner belongs to the container
  EXPECT_EQ(WindowFromPoint({99, 110}), 0u);
  RECT rc{};
  ASSERT_TRUE(GetClientRect(child, &rc));
  EXPECT_EQ(rc, (RECT{0, 0, 20, 10}));
  EnableWindow(child, FALSE);
  EXPECT_EQ(WindowFromPoint({111, 110}), top);
  // A new region frees the old one; destroying the window frees the last.
  SetWindowRgn(child, CreateRectRgn(0, 0, 5, 5), FALSE);
  EXPECT_EQ(LiveGdiObjectCount(), live);
  DestroyWindow(top);
  EXPECT_EQ(LiveGdiObjectCount(), live - 1);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(GetClientRect(child, &rc));
}

TEST(Windows, UpdateLockIsSingleAndReleased) {
  const HWND a = CreateWindowHandle(0, {0, 0, 10, 10});
  const HWND b = CreateWindowHandle(0, {0, 0, 10, 10});
  EXPECT_TRUE(LockWindowUpdate(a));
  EXPECT_FALSE(LockWindowUpdate(b));
  EXPECT_EQ(WindowUpdateLock().holder, a);
  EXPECT_TRUE(LockWindowUpdate(0));
  EXPECT_EQ(WindowUpdateLock().holder, 0u);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(SysColors, XpBlueScheme) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(236, 233, 216));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(172, 168, 153));
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(31), 0u);
  EXPECT_EQ(OleTranslateColor(0x80000010), RGB(172, 168, 153));
  EXPECT_EQ(OleTranslateColor(0x00AD9177), RGB(119, 145, 173));
}

}  // namespace
}  // namespace xpkit
