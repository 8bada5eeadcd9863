#include "xpkit/backends/sdl2/detail/SdlInput.h"

#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {

std::int16_t VbKeyCode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::int16_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::int16_t>(key);
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<std::int16_t>(112 + (key - SDLK_F1));
  switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    default: return 0;
  }
}

std::int16_t VbShift(Uint16 mod) {
  return static_cast<std::int16_t>(((mod & KMOD_SHIFT) ? vbShiftMask : 0) | ((mod & KMOD_CTRL) ? vbCtrlMask : 0) |
                                   ((mod & KMOD_ALT) ? vbAltMask : 0));
}

InputMessage SdlInput::Move(int x, int y, std::int16_t shift) const {
  InputMessage m{InputMessage::Kind::PointerMove};
  // Rounded down, also left of and above the window, where a held button reports too.
  auto client = [this](int v) { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); };
  m.x = origin_.x + client(x);
  m.y = origin_.y + client(y);
  m.shift = shift;
  return m;
}

std::vector<InputMessage> SdlInput::Translate(const SDL_Event& e) {
  const std::int16_t shift = VbShift(static_cast<Uint16>(SDL_GetModState()));
  auto button = [](Uint8 b) -> std::int16_t {
    return b == SDL_BUTTON_LEFT ? vbLeftButton : b == SDL_BUTTON_RIGHT ? vbRightButton : b == SDL_BUTTON_MIDDLE ? vbMiddleButton : 0;
  };
  switch (e.type) {
    case SDL_MOUSEMOTION: return {Move(e.motion.x, e.motion.y, shift)};
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const std::int16_t b = button(e.button.button);
      if (!b) return {};
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      held_ = down ? held_ | b : held_ & ~b;
      InputMessage m{down ? InputMessage::Kind::ButtonDown : InputMessage::Kind::ButtonUp};
      m.button = b;
      m.shift = shift;
      // The press or release happens where the button is, even without a move first.
      return {Move(e.button.x, e.button.y, shift), m};
    }
    case SDL_WINDOWEVENT:
      // Leaving with no button held: the pointer is now over no window of ours. With a
      // button held SDL keeps reporting the moves outside.
      if (e.window.event == SDL_WINDOWEVENT_LEAVE && held_ == 0) return {Move(-100000, -100000, shift)};
      return {};
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::int16_t code = VbKeyCode(e.key.keysym.sym);
      if (!code) return {};
      const bool down = e.type == SDL_KEYDOWN;
      InputMessage m{down ? InputMessage::Kind::KeyDown : InputMessage::Kind::KeyUp};
      m.key = code;
      m.shift = VbShift(e.key.keysym.mod);
      std::vector<InputMessage> out{m};
      // Enter, Escape and Backspace type characters that SDL reports as no text.
      if (down && (code == vbKeyReturn || code == vbKeyEscape || code == vbKeyBack) && !(m.shift & vbAltMask)) {
        InputMessage c{InputMessage::Kind::Char};
        c.key = code;
        out.push_back(c);
      }
      return out;
    }
    case SDL_TEXTINPUT: {
      if (shift & vbAltMask) return {};  // Alt with a key is a system keystroke, not typing
      const auto text = FromUtf8(e.text.text);
      if (!text) return {};
      std::vector<InputMessage> out;
      for (const std::uint8_t byte : codePage_.Encode(*text)) {
        InputMessage c{InputMessage::Kind::Char};
        c.key = static_cast<std::int16_t>(byte);
        out.push_back(c);
      }
      return out;
    }
    default: return {};
  }
}

}  // namespace xpkit
