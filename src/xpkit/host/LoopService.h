// Work of its own that a service (the accessibility bridge) does on the host's thread,
// inside a real window's message loop: served every turn, and waited for together with
// the window system's input, so that an idle loop still sleeps.
#pragma once

namespace xpkit {

class LoopService {
 public:
  virtual ~LoopService() = default;
  // Does what is due, without waiting.
  virtual void Serve() = 0;
  // Sleeps until the file descriptor `fd` (the window system's connection) is readable,
  // the service has work, or `timeoutMs` have passed (-1: no limit). What arrived for
  // the service meanwhile may be handled here.
  virtual void Wait(int fd, int timeoutMs) = 0;
};

}  // namespace xpkit
