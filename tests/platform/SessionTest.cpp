// Sessions keep apart: a handle or window of one is a foreign value to another, and each
// has its own capture, cursor and update lock.
#include "xpkit/platform/Session.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "xpkit/Error.h"

namespace xpkit {
namespace {

TEST(Session, HandlesOfAnotherSessionAreForeign) {
  Session a, b;
  Bitmap imageA(4, 4), imageB(4, 4);
  const HDC dcA = a.gdi().CreateImageDC(&imageA), dcB = b.gdi().CreateImageDC(&imageB);
  const HPEN penA = a.gdi().CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  const HRGN rgnA = a.gdi().CreateRectRgn(0, 0, 2, 2);
  const HBRUSH brushA = a.gdi().CreateSolidBrush(RGB(1, 2, 3));
  // Every kind of object of `a` fails in `b` as a stale handle would, and changes nothing.
  EXPECT_EQ(b.gdi().SelectObject(dcB, penA), 0u);
  EXPECT_EQ(b.gdi().SelectObject(dcA, b.gdi().GetStockObject(BLACK_PEN)), 0u);
  EXPECT_FALSE(b.gdi().DeleteObject(penA));
  EXPECT_FALSE(b.gdi().LineTo(dcA, 3, 3));
  const RECT all{0, 0, 4, 4};
  EXPECT_EQ(b.gdi().FillRect(dcB, &all, brushA), 0);
  EXPECT_EQ(b.gdi().CombineRgn(rgnA, rgnA, rgnA, RGN_OR), RGN_ERROR);
  EXPECT_EQ(b.gdi().RegionOf(rgnA), nullptr);
  EXPECT_EQ(imageA, Bitmap(4, 4));
  EXPECT_EQ(imageB, Bitmap(4, 4));
  // The handles still work where they belong.
  EXPECT_NE(a.gdi().SelectObject(dcA, penA), 0u);
  EXPECT_TRUE(a.gdi().PtInRegion(rgnA, 1, 1));
  EXPECT_EQ(a.gdi().FillRect(dcA, &all, brushA), 1);
  EXPECT_EQ(imageA.ColorAt(3, 3), RGB(1, 2, 3));

  const HWND wa = a.user().CreateWindowHandle(0, {0, 0, 50, 50});
  const HWND wb = b.user().CreateWindowHandle(0, {0, 0, 50, 50});
  EXPECT_FALSE(b.user().IsWindow(wa));
  EXPECT_EQ(b.user().CreateWindowHandle(wa, {0, 0, 5, 5}), 0u);  // no parent of its own
  EXPECT_EQ(b.user().SetWindowRgn(wb, rgnA, FALSE), 0);
  EXPECT_TRUE(a.gdi().PtInRegion(rgnA, 0, 0)) << "a failed hand-over leaves the region with its owner";
  EXPECT_FALSE(b.user().DestroyWindow(wa));
  EXPECT_TRUE(a.user().IsWindow(wa));
}

TEST(Session, CaptureCursorAndLockArePerSession) {
  Session a, b;
  const HWND wa = a.user().CreateWindowHandle(0, {0, 0, 50, 50});
  const HWND wb = b.user().CreateWindowHandle(0, {0, 0, 50, 50});
  a.user().SetCapture(wa);
  b.user().SetCapture(wa);  // not a window of b: no capture there
  EXPECT_EQ(a.user().GetCapture(), wa);
  EXPECT_EQ(b.user().GetCapture(), 0u);
  // The update lock is one per session: each may hold its own at the same time.
  EXPECT_TRUE(a.user().LockWindowUpdate(wa));
  EXPECT_TRUE(b.user().LockWindowUpdate(wb));
  EXPECT_FALSE(b.user().LockWindowUpdate(wa));
  a.user().SetCursorPos(10, 10);
  b.user().SetCursorPos(40, 40);
  POINT p{};
  a.user().GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{10, 10}));
  EXPECT_EQ(a.user().WindowFromPoint({10, 10}), wa);
  EXPECT_EQ(b.user().WindowFromPoint({10, 10}), wb);
}

TEST(Session, TagsAreReusedAndRunOutWithAClearError) {
  std::vector<std::unique_ptr<Session>> live;
  try {
    while (true) live.push_back(std::make_unique<Session>());
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::TooManySessions);
    EXPECT_NE(std::string(e.what()).find("sessions are alive at once"), std::string::npos);
  }
  EXPECT_EQ(live.size(), SessionTag::kMaxLive);
  // Two live sessions never share a tag, so their first handles differ.
  const HPEN first = live[0]->gdi().CreatePen(PS_SOLID, 1, 0);
  EXPECT_FALSE(live[1]->gdi().DeleteObject(first));
  live.pop_back();
  EXPECT_NO_THROW(Session());
}

}  // namespace
}  // namespace xpkit
