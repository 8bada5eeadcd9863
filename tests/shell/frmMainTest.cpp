// The program's window from its default layout: the composed picture, the ways it ends,
// and load -> save -> load of its layout.
#include "xpkit/shell/frmMain.h"

#include <gtest/gtest.h>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/platform/User.h"
#include "support/Golden.h"
#include "support/Pixels.h"

namespace xpkit {
namespace {

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() : form(host, DefaultLayout()), input(host, form) {
    backend.echoToStderr = false;
    form.Show();
    input.MoveTo(300, 80);  // the pointer starts over the bare window
  }
  HeadlessBackend backend;
  Host host{backend};
  Gdi& gdi = host.session().gdi();
  User& user = host.session().user();
  frmMain form;
  HeadlessDriver input;
};

// The window as a screenshot shows it, at scale 1 and 2; Line1 runs across row 124 over
// the form's own background.
TEST_F(MainWindow, ComposesBannersLineAndButtonAsTheGoldens) {
  const Bitmap img = ComposeForm(form);
  ASSERT_EQ(img.width(), 331);
  ASSERT_EQ(img.height(), 154);
  EXPECT_TRUE(test::RowIs(img, 124, 0, 330, RGB(255, 255, 255)));
  for (int y : {40, 80, 123, 125}) EXPECT_TRUE(test::RowIs(img, y, 0, 330, RGB(119, 145, 173))) << y;
  EXPECT_TRUE(test::MatchesGolden(img, "window-1"));
  EXPECT_TRUE(test::MatchesGolden(Enlarged(img, 2), "window-2"));
}

TEST_F(MainWindow, ClickingExitEndsTheProgram) {
  ASSERT_NE(form.cmdExit, nullptr);
  input.Click(150, 139);
  EXPECT_TRUE(backend.ended);
  EXPECT_TRUE(host.Ended());
}

TEST_F(MainWindow, ExitFromTheKeyboardEndsTheProgramToo) {
  input.Key(vbKeyTab);
  EXPECT_EQ(host.Focused(), form.cmdExit);
  EXPECT_FALSE(backend.ended);
  input.Key(32);
  EXPECT_TRUE(backend.ended);
}

TEST_F(MainWindow, NothingElseEndsIt) {
  input.Key(13);  // nothing has the focus yet
  input.Click(150, 139, vbRightButton);
  input.Click(20, 20);
  EXPECT_FALSE(backend.ended);
}

TEST_F(MainWindow, SaveKeepsClassesExtentsAndStoredValues) {
  const Layout saved = form.SaveLayout();
  ASSERT_EQ(saved.items.size(), 4u);
  const auto& exit = std::get<ControlLayout>(saved.items[1]);
  EXPECT_EQ(exit.name, "cmdExit");
  EXPECT_EQ(exit.classId, "Morvel.XPButton");
  EXPECT_EQ(exit.parent, "Footer");
  EXPECT_EQ(exit.extentX, 2805);
  EXPECT_EQ(exit.extentY, 582);
  EXPECT_EQ(exit.properties.ReadText("caption", u""), u"\u062E\u0631\u0648\u062C");
  EXPECT_EQ(exit.properties.ReadColor("forecolor", 0), 0x80000006u);
  EXPECT_TRUE(exit.properties.Has("forehover"));
  const auto& footer = std::get<ControlLayout>(saved.items[0]);
  EXPECT_EQ(footer.classId, "Morvel.XPHeader");
  EXPECT_EQ(footer.place.top, 1890);
  EXPECT_EQ(footer.extentX, 8758);
  EXPECT_EQ(footer.extentY, 741);
  EXPECT_EQ(std::get<ControlLayout>(saved.items[2]).extentY, 1058);
  EXPECT_EQ(std::get<LineLayout>(saved.items[3]).x2, 5100);
}

TEST_F(MainWindow, LoadSaveLoadIsAFixedPoint) {
  const std::string once = FormatLayout(form.SaveLayout());
  HeadlessBackend b2;
  Host h2(b2);
  frmMain again(h2, ParseLayout(once, "saved"));
  EXPECT_EQ(FormatLayout(again.SaveLayout()), once);
  EXPECT_EQ(ComposeForm(again).pixels(), ComposeForm(form).pixels());
}

}  // namespace
}  // namespace xpkit
