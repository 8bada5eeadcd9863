// SDL's input events as the host's input messages: window-local pointer positions, in
// the window's physical pixels, become screen positions through the form's client origin
// and the window's scale, SDL keys become key codes, typed
// text becomes characters of the system code page.
#pragma once
#include <SDL.h>

#include <vector>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/host/Host.h"

namespace xpkit {

// The key code of an SDL key, 0 for a key the controls do not know.
std::int16_t VbKeyCode(SDL_Keycode key);
std::int16_t VbShift(Uint16 mod);

class SdlInput {
 public:
  // `clientOrigin`: where the form's client area sits in the host's screen coordinates;
  // every client pixel is shown as a `scale` x `scale` block; typed text becomes
  // characters of `codePage`.
  SdlInput(POINT clientOrigin, const CodePage& codePage, int scale = 1)
      : origin_(clientOrigin), codePage_(codePage), scale_(scale) {}
  // The messages one event makes; none for events that carry no input.
  std::vector<InputMessage> Translate(const SDL_Event& e);

 private:
  InputMessage Move(int x, int y, std::int16_t shift) const;
  POINT origin_;
  const CodePage& codePage_;
  int scale_;
  int held_ = 0;  // mouse buttons down
};

}  // namespace xpkit
