// What the real window decides without a display: the scale for dense screens, the
// frame hints a form's style asks for, and pointer positions on a scaled window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "xpkit/backends/sdl2/detail/DesktopScale.h"
#include "xpkit/backends/sdl2/detail/SdlInput.h"
#include "xpkit/backends/sdl2/detail/X11Window.h"

namespace xpkit {
namespace {

TEST(DesktopScale, OnlyWholeNumbersFromOneToFour) {
  for (const char* good : {"1", "2", "3", "4"}) EXPECT_EQ(ParseScale(good), good[0] - '0') << good;
  for (const char* bad : {"0", "5", "-1", "+2", " 2", "2 ", "2x", "1.5", "", "02a"})
    EXPECT_FALSE(ParseScale(bad)) << "'" << bad << "'";
}

TEST(DesktopScale, DotsPerInchStepHalfWayToTheNextMultipleOf96) {
  const std::pair<double, int> cases[] = {{0, 1},   {96, 1},  {143.9, 1}, {144, 2}, {192, 2},
                                          {239, 2}, {240, 3}, {335.5, 3}, {336, 4}, {768, 4}};
  for (const auto& [dpi, scale] : cases) EXPECT_EQ(ScaleForDpi(dpi), scale) << dpi;
}

TEST(DesktopScale, GdkScaleComesBeforeTheResourcesAndIsCappedAtFour) {
  const char* saved = std::getenv("GDK_SCALE");
  const std::string keep = saved ? saved : "";
  const x11::Handle none;  // no display: no Xft.dpi, so 1 unless GDK_SCALE says otherwise
  const std::pair<const char*, int> cases[] = {{"2", 2}, {"3", 3}, {"9", 4}, {"0", 1}, {"two", 1}, {"", 1}};
  for (const auto& [value, scale] : cases) {
    setenv("GDK_SCALE", value, 1);
    EXPECT_EQ(DesktopScale(none), scale) << "GDK_SCALE=" << value;
  }
  if (saved)
    setenv("GDK_SCALE", keep.c_str(), 1);
  else
    unsetenv("GDK_SCALE");
}

TEST(FrameHints, AToolWindowMovesAndClosesOnly) {
  FrameStyle tool{true, true, false, false, false, true};
  const x11::MotifHints h = x11::MotifHintsFor(tool);
  EXPECT_EQ(h.flags, 3u);         // functions and decorations given
  EXPECT_EQ(h.functions, 4u | 32u);  // move, close
  EXPECT_EQ(h.decorations, 2u | 8u | 16u);  // border, title, menu
  FrameStyle full;  // sizable, with both boxes
  full.fixedSize = false;
  const x11::MotifHints f = x11::MotifHintsFor(full);
  EXPECT_EQ(f.functions, 2u | 4u | 8u | 16u | 32u);
  EXPECT_EQ(f.decorations, 2u | 4u | 8u | 16u | 32u | 64u);
  FrameStyle minOnly = tool;
  minOnly.minButton = true;
  EXPECT_EQ(x11::MotifHintsFor(minOnly).functions, 4u | 8u | 32u);
  EXPECT_EQ(x11::MotifHintsFor(minOnly).decorations, 2u | 8u | 16u | 32u);
}

TEST(SdlInput, AScaledWindowsPixelsMapBackToClientPixels) {
  SdlInput in({346, 307}, CodePage::Get(1256), 2);
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {315, 157}, {-1, -1}, {-2, -1}, {-3, -2}};
  for (const auto& [physical, client] : cases) {
    e.motion.x = physical;
    e.motion.y = physical;
    const auto m = in.Translate(e);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].x, 346 + client) << physical;
    EXPECT_EQ(m[0].y, 307 + client) << physical;
  }
}

}  // namespace
}  // namespace xpkit
