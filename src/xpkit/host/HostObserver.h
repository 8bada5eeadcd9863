// Word of what happens on a host, for whoever mirrors its forms and controls elsewhere
// (the bridge to the desktop's accessibility bus). Each call comes after the change.
#pragma once
#include <string_view>

namespace xpkit {

class Form;
class UserControl;

class HostObserver {
 public:
  virtual ~HostObserver() = default;
  virtual void FormShown(Form&) {}
  // The form is being destroyed; its controls have been forgotten before.
  virtual void FormForgotten(Form&) {}
  // The form's window gained (`active`) or lost the keyboard focus.
  virtual void FormActivated(Form&, bool /*active*/) {}
  // A control was made, loaded and placed in its container.
  virtual void ControlAdded(UserControl&) {}
  // The control is being destroyed.
  virtual void ControlForgotten(UserControl&) {}
  virtual void FocusChanged(UserControl* /*from*/, UserControl* /*to*/) {}
  // A property of the control was written (as Host::PropertyChanged).
  virtual void PropertyChanged(UserControl&, std::string_view /*property*/) {}
};

}  // namespace xpkit
