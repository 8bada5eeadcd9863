// One real window showing a form: made hidden with the frame the form's style asks for,
// placed so that its whole frame is centred (on the monitor the pointer is on, or on its
// owner's frame for a dialog), given the focus when shown, its pixels shown as scale x
// scale blocks, and kept as the style says: a minimise, maximise, full screen or resize
// that the window manager does although the frame does not offer it is undone at once,
// and so is a move that only came of another client's request for a size the window
// cannot take.
#pragma once
#include <SDL.h>

#include <optional>
#include <vector>

#include "xpkit/backends/sdl2/detail/SdlInput.h"
#include "xpkit/backends/sdl2/detail/X11Window.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

class SdlWindow {
 public:
  // A hidden window for `form`; a dialog of `owner` when one is given. Throws
  // Error(NoDisplay) when SDL cannot make the window.
  SdlWindow(Form& form, int scale, const Bitmap& icon, SdlWindow* owner = nullptr);
  // Leaves a window destroyed from outside alone: SDL would wait for it for ever. A
  // Wayland window is only hidden.
  ~SdlWindow();
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  Uint32 id() const { return SDL_GetWindowID(window_); }
  SDL_Window* window() const { return window_; }
  Form& form() const { return form_; }
  // Places the window, maps it and asks for the input focus.
  void Show();
  // Raises the window and asks for the input focus.
  void Focus() { SDL_RaiseWindow(window_); }
  // Composes the form and shows it.
  void Present();
  // The host's input messages that one event for this window makes; notes what the
  // window manager did to the frame.
  std::vector<InputMessage> Translate(const SDL_Event& e);
  int scale() const { return scale_; }
  // The X connection's file descriptor; -1 under another video driver.
  int ConnectionFd() const { return x11::ConnectionFd(x_); }
  // Where the client area is on the screen, as last known.
  POINT ClientOrigin() const { return {place_.x, place_.y}; }
  // Notes another client's request to the window manager, if it is about this window.
  void NoteRequest(const x11::MoveResizeRequest& request);
  // Undoes what the window manager did that the frame does not allow. Call after a
  // batch of events, after checking Lost().
  void KeepFrame();
  // Errors about the window have arrived: it was destroyed from outside.
  bool Lost() const { return lost_; }
  // Whether the window manager changed the frame since the last KeepFrame.
  bool FrameChanged() const { return moved_ || minimised_ || resized_; }
  // Waits for the server's answer to everything sent, so that Lost() is up to date.
  void Sync() { x11::Sync(x_); }
  // The display went away under another window: no SDL call may touch this one either.
  void Abandon() { lost_ = true; }

 private:
  void Place();
  bool ExpectedSize(int w, int h) const { return w == width_ && h == height_; }

  Form& form_;
  SdlWindow* owner_;
  int scale_;
  int unit_ = 1;        // pixels a window unit (the compositor's buffer scale) has a side
  int width_, height_;  // window units: physical pixels but on a scaled Wayland output
  SDL_Window* window_ = nullptr;
  x11::Handle x_;
  x11::FrameExtents frame_;
  x11::Geometry place_;  // where the client area belongs
  std::optional<SdlInput> input_;
  bool lost_ = false;
  bool minimised_ = false, resized_ = false, moved_ = false;
  bool sizeAsked_ = false;  // another client asked for a size without a place
};

}  // namespace xpkit
