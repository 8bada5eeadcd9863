// A top-level window holding controls: its client size, background, font, frame style
// and caption. Its children's coordinates are twips.
#pragma once
#include <string>

#include "xpkit/host/Accessible.h"
#include "xpkit/host/Container.h"

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

  // Centres the window on the backend's screen, shows it, and tells every control.
  void Show();
  bool Shown() const { return shown_; }
  // Closes a dialog: whoever shows it modally returns.
  void Close() { closed_ = true; }
  bool Closed() const { return closed_; }

  // What assistive technology is told of the form: a frame named by its caption.
  virtual Accessible Describe() const;

 private:
  Host& host_;
  std::string name_;
  HWND hwnd_ = 0;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace xpkit
