// SDL events as the host's input messages.
#include "xpkit/backends/sdl2/detail/SdlInput.h"

#include <gtest/gtest.h>

#include <cstring>

#include "xpkit/host/UserControl.h"

namespace xpkit {
namespace {

using Kind = InputMessage::Kind;

SDL_Event Mouse(Uint32 type, int x, int y, Uint8 button = 0) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.x = x;
    e.motion.y = y;
  } else {
    e.button.x = x;
    e.button.y = y;
    e.button.button = button;
  }
  return e;
}

SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

TEST(SdlInput, PointerPositionsAreScreenPositionsOfTheClientArea) {
  SdlInput in({346, 307}, CodePage::Get(1256));
  const auto m = in.Translate(Mouse(SDL_MOUSEMOTION, 157, 139));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].kind, Kind::PointerMove);
  EXPECT_EQ(m[0].x, 503);
  EXPECT_EQ(m[0].y, 446);
  // A press moves the pointer to where it happened, then presses.
  const auto p = in.Translate(Mouse(SDL_MOUSEBUTTONDOWN, 10, 20, SDL_BUTTON_RIGHT));
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].x, 356);
  EXPECT_EQ(p[1].kind, Kind::ButtonDown);
  EXPECT_EQ(p[1].button, vbRightButton);
  EXPECT_TRUE(in.Translate(Mouse(SDL_MOUSEBUTTONDOWN, 0, 0, SDL_BUTTON_X1)).empty());
}

TEST(SdlInput, LeavingMovesThePointerAwayOnlyWithNoButtonHeld) {
  SdlInput in({0, 0}, CodePage::Get(1256));
  SDL_Event leave{};
  leave.type = SDL_WINDOWEVENT;
  leave.window.event = SDL_WINDOWEVENT_LEAVE;
  in.Translate(Mouse(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_LEFT));
  EXPECT_TRUE(in.Translate(leave).empty());  // captured: SDL goes on reporting moves
  in.Translate(Mouse(SDL_MOUSEBUTTONUP, 5, 5, SDL_BUTTON_LEFT));
  const auto m = in.Translate(leave);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_LT(m[0].x, -1000);
}

TEST(SdlInput, KeysBecomeKeyCodesAndEnterTypesACharacter) {
  SdlInput in({0, 0}, CodePage::Get(1256));
  EXPECT_EQ(VbKeyCode(SDLK_e), 'E');
  EXPECT_EQ(VbKeyCode(SDLK_7), '7');
  EXPECT_EQ(VbKeyCode(SDLK_LEFT), 37);
  EXPECT_EQ(VbKeyCode(SDLK_DOWN), 40);
  EXPECT_EQ(VbKeyCode(SDLK_F12), 123);
  EXPECT_EQ(VbKeyCode(SDLK_CAPSLOCK), 0);
  const auto enter = in.Translate(Key(SDL_KEYDOWN, SDLK_RETURN));
  ASSERT_EQ(enter.size(), 2u);
  EXPECT_EQ(enter[0].kind, Kind::KeyDown);
  EXPECT_EQ(enter[0].key, 13);
  EXPECT_EQ(enter[1].kind, Kind::Char);
  const auto alt = in.Translate(Key(SDL_KEYDOWN, SDLK_e, KMOD_LALT | KMOD_LSHIFT));
  ASSERT_EQ(alt.size(), 1u);
  EXPECT_EQ(alt[0].shift, vbAltMask | vbShiftMask);
  EXPECT_EQ(in.Translate(Key(SDL_KEYUP, SDLK_SPACE))[0].kind, Kind::KeyUp);
}

TEST(SdlInput, TypedTextArrivesInTheSystemCodePage) {
  SdlInput in({0, 0}, CodePage::Get(1256));
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strcpy(e.text.text, "a\xD8\xAE");  // "a" and U+062E
  const auto m = in.Translate(e);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].key, 'a');
  EXPECT_EQ(m[1].key, 0xCE);  // U+062E in Windows-1256
}

}  // namespace
}  // namespace xpkit
