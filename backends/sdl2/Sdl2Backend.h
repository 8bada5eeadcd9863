// The real-window backend: one SDL window per shown form, composed from the controls'
// persistent images and presented whenever a window's image changed; real input and the
// host's timers run through one message loop that sleeps until the next event or tick.
#pragma once
#include <string>

#include "host/Backend.h"
#include "host/Form.h"
#include "host/Host.h"
#include "platform/Bitmap.h"

struct SDL_Window;

namespace xpkit {

class Sdl2Backend : public Backend {
 public:
  // Opens the video subsystem, or throws Error(NoDisplay) with the reason.
  Sdl2Backend();
  ~Sdl2Backend() override;
  Sdl2Backend(const Sdl2Backend&) = delete;
  Sdl2Backend& operator=(const Sdl2Backend&) = delete;

  // A modal box with the warning icon and an OK button.
  void ShowMessageBox(const std::u16string& text, const std::u16string& caption) override;
  void EndProgram() override { ended_ = true; }
  void WindowChanged(HWND) override { dirty_ = true; }
  POINT ScreenSize() const override;

  // Shows `form` (already created, not yet shown) in a real window with `icon` and runs
  // the message loop until the program ends or the window is closed.
  void Run(Host& host, Form& form, const Bitmap& icon);

 private:
  void Present(const Form& form);
  SDL_Window* window_ = nullptr;
  bool ended_ = false;
  bool dirty_ = true;
};

}  // namespace xpkit
