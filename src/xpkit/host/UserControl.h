// A user control on its host: a window with a persistent image, placed in a container,
// receiving the host's notifications and using its services.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "xpkit/host/Container.h"
#include "xpkit/host/ControlSurface.h"
#include "xpkit/host/PropertyBag.h"
#include "xpkit/host/Timer.h"

namespace xpkit {

// Mouse buttons and shift states of the notifications.
constexpr std::int16_t vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4;
constexpr std::int16_t vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4;

class UserControl : public Container {
 public:
  UserControl() = default;
  ~UserControl() override;

  // Extender: what the container knows of the control.
  const std::string& Name() const { return name_; }
  Container* Parent() const { return parent_; }
  const Placement& placement() const { return placement_; }
  // Moves and sizes the control (twips); a size change reaches it as a resize unless
  // `notify` is false.
  void Move(double left, double top, double width, double height, bool notify = true);
  double Width() const { return placement_.width; }    // twips
  double Height() const { return placement_.height; }  // twips
  bool Visible() const;
  void SetVisible(bool v);
  int TabIndex = 0;
  bool TabStop = true;
  virtual bool CanGetFocus() const { return true; }
  // A control that takes Enter itself while it has the focus (a button): the form's
  // default button does not get it then.
  virtual bool HandlesEnter() const { return false; }

  HWND hWnd() const override { return hwnd_; }
  Host& host() const override { return *host_; }
  FontRef ContainerFont() const override { return surface_->Font(); }
  OLE_COLOR ContainerForeColor() const override { return surface_->ForeColor(); }
  double UnitsPerPixel() const override { return surface_->ScaleMode() == vbPixels ? 1 : kTwipsPerPixel; }

  ControlSurface& surface() { return *surface_; }
  const ControlSurface& surface() const { return *surface_; }
  // Makes the image visible: the window is redrawn from it.
  void Refresh();

  // The host's enabled state of the control's window.
  bool HostEnabled() const;
  void SetHostEnabled(bool on);
  const std::u16string& AccessKeys() const { return accessKeys_; }
  void SetAccessKeys(std::u16string keys) { accessKeys_ = std::move(keys); }

  std::u16string AmbientDisplayName() const;
  FontRef AmbientFont() const;
  OLE_COLOR AmbientForeColor() const;
  // Tells the host that the named property changed.
  void PropertyChanged(std::string_view property);

  Timer& AddTimer();

  // Notifications from the host.
  virtual void OnInitialize() {}
  virtual void OnInitProperties() {}
  virtual void OnReadProperties(const PropertyBag&) {}
  virtual void OnWriteProperties(PropertyBag&) {}
  virtual void OnResize() {}
  virtual void OnShow() {}
  virtual void OnGotFocus() {}
  virtual void OnLostFocus() {}
  virtual void OnMouseDown(std::int16_t, std::int16_t, float, float) {}
  virtual void OnMouseMove(std::int16_t, std::int16_t, float, float) {}
  virtual void OnMouseUp(std::int16_t, std::int16_t, float, float) {}
  virtual void OnClick() {}
  virtual void OnDblClick() {}
  virtual void OnKeyDown(std::int16_t, std::int16_t) {}
  virtual void OnKeyUp(std::int16_t, std::int16_t) {}
  virtual void OnKeyPress(std::int16_t) {}
  virtual void OnAccessKeyPress(std::int16_t) {}

 private:
  friend class Container;
  void Attach(Container& parent, std::string name, const Placement& where);
  // A placement in the container's pixels, by the container's scale unit; an Error for
  // one larger than kMaxControlPixels.
  RECT PixelRect(const Placement& p) const;
  std::string name_;
  Container* parent_ = nullptr;
  Host* host_ = nullptr;
  HWND hwnd_ = 0;
  Placement placement_;
  std::optional<ControlSurface> surface_;  // made when the control is placed in its container
  std::u16string accessKeys_;
  std::vector<std::unique_ptr<Timer>> timers_;
};

}  // namespace xpkit
