// A top-level window holding controls: its client size, background, font, frame style
// and caption. Its children's coordinates are twips.
#pragma once
#include <cstdint>
#include <string>

#include "xpkit/host/Container.h"
#include "xpkit/host/Event.h"

namespace xpkit {

struct FrameStyle {
  bool fixedSize = true;
  bool toolWindow = false;
  bool minButton = true;
  bool maxButton = true;
  bool showInTaskbar = true;
  bool centred = true;
};

class Form : public Container {
 public:
  // An Error for a client area past kMaxControlPixels either way, or when the session
  // can make no more windows.
  Form(Host& host, std::string name, int clientWidthPx, int clientHeightPx);
  ~Form() override;

  const std::string& Name() const { return name_; }
  HWND hWnd() const override { return hwnd_; }
  Host& host() const override { return host_; }
  FontRef ContainerFont() const override { return Font; }
  OLE_COLOR ContainerForeColor() const override { return ForeColor; }

  std::u16string Caption;
  OLE_COLOR BackColor = 0x8000000F;
  OLE_COLOR ForeColor = 0x80000012;
  FontRef Font;  // "MS Sans Serif" 8.25 pt in the system code page's character set
  FrameStyle Frame;

  // Enter clicks the default button (as its access key would) wherever the focus is,
  // unless the focused control takes Enter itself (a button); Escape clicks the cancel
  // button. Either may be null.
  UserControl* DefaultButton = nullptr;
  UserControl* CancelButton = nullptr;
  // The form's own key events come before the focused control's. A handler that sets
  // the key code (or character) to 0 keeps the key from going further.
  bool KeyPreview = false;
  Event<std::int16_t, std::int16_t> KeyDown, KeyUp;  // keyCode, shift
// Xlib defines KeyPress as a macro; set it aside so this header compiles after Xlib's.
#pragma push_macro("KeyPress")
#undef KeyPress
  Event<std::int16_t> KeyPress;  // keyAscii
#pragma pop_macro("KeyPress")

  // The user asks to close the window (close box, Alt+F4, the window manager): a
  // handler that sets `cancel` keeps it open.
  Event<bool> Closing;
  // The form has closed: its window goes away.
  Event<> Unloaded;

  // Centres the window on the backend's screen, shows it, and tells every control. The
  // focus stays where it is: the form takes it when it is activated (Host::Activate).
  void Show();
  bool Shown() const { return shown_; }
  // Closes the form, whoever asked: whoever shows it (modally, or as the main window)
  // returns. Raises Unloaded once.
  void Close();
  bool Closed() const { return closed_; }

  // The control of this form that had the focus last; null when it has gone.
  UserControl* LastFocus() const { return lastFocus_; }
  void SetLastFocus(UserControl* c) { lastFocus_ = c; }

 private:
  Host& host_;
  std::string name_;
  HWND hwnd_ = 0;
  bool shown_ = false;
  bool closed_ = false;
  UserControl* lastFocus_ = nullptr;
};

}  // namespace xpkit
