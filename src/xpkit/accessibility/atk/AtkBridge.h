// The kit on the desktop's accessibility bus (AT-SPI 2), through ATK and the at-spi2-atk
// bridge: the application named by the host's AppTitle, its shown forms and their
// controls as each describes itself (UserControl::Accessibility), and the events a
// screen reader follows: focus, names, windows shown, activated and closed, children
// added. Only a program with a real window needs it; the headless tree is in
// xpkit/host/Accessible.h.
#pragma once
#include <memory>
#include <string_view>

#include "xpkit/host/HostObserver.h"
#include "xpkit/host/LoopService.h"

namespace xpkit {

class Host;
namespace atk {
class AtkTree;
}

class AtkBridge : public HostObserver, public LoopService {
 public:
  // The bridge, when assistive technology listens: the session bus runs, the
  // accessibility bus is up and enabled (IsEnabled or ScreenReaderEnabled), and
  // NO_AT_BRIDGE is not "1". Otherwise nullptr, having started, waited for and printed
  // nothing. One bridge at a time in a process: ATK's application root is the process's.
  static std::unique_ptr<AtkBridge> StartIfWanted(Host& host);
  // Starts it whatever the bus says.
  explicit AtkBridge(Host& host);
  ~AtkBridge() override;
  AtkBridge(const AtkBridge&) = delete;
  AtkBridge& operator=(const AtkBridge&) = delete;

  // The real window's loop serves it (Sdl2Backend::SetLoopService), on the host's
  // thread. Serve answers the bus (GLib's default main context) without waiting, then
  // runs the actions it asked for; Wait sleeps on the bus's connections and `fd` at once.
  void Serve() override;
  void Wait(int fd, int timeoutMs) override;

  void FormShown(Form& form) override;
  void FormForgotten(Form& form) override;
  void FormActivated(Form& form, bool active) override;
  void ControlAdded(UserControl& control) override;
  void ControlForgotten(UserControl& control) override;
  void FocusChanged(UserControl* from, UserControl* to) override;
  void PropertyChanged(UserControl& control, std::string_view property) override;

 private:
  Host& host_;
  std::unique_ptr<atk::AtkTree> tree_;
};

}  // namespace xpkit
