// The window table: client rectangles, hit tests through regions, capture, the lock.
#include <gtest/gtest.h>

#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/User.h"
#include "support/SessionTest.h"

namespace xpkit {
namespace {

using Windows = test::SessionTest;

TEST_F(Windows, HitTestHonoursRegionsAndDisabledChildren) {
  const HWND top = user.CreateWindowHandle(0, {100, 100, 200, 150});
  const HWND child = user.CreateWindowHandle(top, {10, 10, 30, 20});
  HRGN shape = gdi.CreateRectRgn(0, 0, 20, 10);
  const HRGN corner = gdi.CreateRectRgn(0, 0, 1, 1);
  gdi.CombineRgn(shape, shape, corner, RGN_DIFF);
  gdi.DeleteObject(corner);
  const std::size_t live = gdi.LiveObjectCount();
  ASSERT_EQ(user.SetWindowRgn(child, shape, TRUE), 1);
  EXPECT_EQ(user.WindowFromPoint({111, 110}), child);
  EXPECT_EQ(user.WindowFromPoint({110, 110}), top);  // the cut corner belongs to the container
  EXPECT_EQ(user.WindowFromPoint({99, 110}), 0u);
  RECT rc{};
  ASSERT_TRUE(user.GetClientRect(child, &rc));
  EXPECT_EQ(rc, (RECT{0, 0, 20, 10}));
  user.EnableWindow(child, FALSE);
  EXPECT_EQ(user.WindowFromPoint({111, 110}), top);
  // A new region frees the old one; destroying the window frees the last.
  user.SetWindowRgn(child, gdi.CreateRectRgn(0, 0, 5, 5), FALSE);
  EXPECT_EQ(gdi.LiveObjectCount(), live);
  user.DestroyWindow(top);
  EXPECT_EQ(gdi.LiveObjectCount(), live - 1);
  EXPECT_FALSE(user.IsWindow(child));
  EXPECT_FALSE(user.GetClientRect(child, &rc));
}

// A window covers its last column and row and no more; the topmost child under a point
// takes it, and a disabled one gives it to its parent, not to a sibling beneath it.
TEST_F(Windows, HitTestEdgesAndStacking) {
  const HWND top = user.CreateWindowHandle(0, {0, 0, 100, 100});
  const HWND below = user.CreateWindowHandle(top, {10, 10, 30, 20});
  const HWND above = user.CreateWindowHandle(top, {20, 10, 40, 20});
  EXPECT_EQ(user.WindowFromPoint({29, 19}), above);
  EXPECT_EQ(user.WindowFromPoint({19, 19}), below);
  EXPECT_EQ(user.WindowFromPoint({39, 19}), above);
  EXPECT_EQ(user.WindowFromPoint({40, 15}), top);
  EXPECT_EQ(user.WindowFromPoint({25, 20}), top);
  EXPECT_EQ(user.WindowFromPoint({99, 99}), top);
  EXPECT_EQ(user.WindowFromPoint({100, 50}), 0u);
  user.EnableWindow(above, FALSE);
  EXPECT_EQ(user.WindowFromPoint({25, 15}), top);
  EXPECT_EQ(user.WindowFromPoint({15, 15}), below);
  user.DestroyWindow(top);
}

// Destroying a window takes the capture and the update lock from whatever inside it held
// them, however deep.
TEST_F(Windows, DestroyingAWindowReleasesWhatItsChildrenHeld) {
  const HWND top = user.CreateWindowHandle(0, {0, 0, 100, 100});
  const HWND child = user.CreateWindowHandle(top, {0, 0, 50, 50});
  const HWND grandchild = user.CreateWindowHandle(child, {0, 0, 10, 10});
  user.SetCapture(grandchild);
  ASSERT_TRUE(user.LockWindowUpdate(grandchild));
  user.DestroyWindow(top);
  EXPECT_EQ(user.GetCapture(), 0u);
  EXPECT_EQ(user.WindowUpdateLock().holder, 0u);
}

TEST_F(Windows, UpdateLockIsSingleAndReleased) {
  const HWND a = user.CreateWindowHandle(0, {0, 0, 10, 10});
  const HWND b = user.CreateWindowHandle(0, {0, 0, 10, 10});
  EXPECT_TRUE(user.LockWindowUpdate(a));
  EXPECT_FALSE(user.LockWindowUpdate(b));
  EXPECT_EQ(user.WindowUpdateLock().holder, a);
  EXPECT_TRUE(user.LockWindowUpdate(0));
  EXPECT_EQ(user.WindowUpdateLock().holder, 0u);
  user.DestroyWindow(a);
  user.DestroyWindow(b);
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
