// Removal of temporary files when SIGINT, SIGTERM or SIGHUP ends the process: the one
// piece of process-wide state the file layer keeps. While at least one file is
// registered, each of those signals whose action is the default one gets a handler that
// unlinks every registered file and then ends the process as the signal would have
// (the shell reports 128 + n); with none registered the old actions are back in place.
// A signal that was being ignored (nohup, a background job) stays ignored.
#pragma once
#include <signal.h>

namespace xpkit::interrupt_cleanup {

// The longest name a registered file may have.
inline constexpr int kMaxName = 127;

// Registers file `name` in directory `dirFd` for removal; returns its slot, or -1 when
// the table is full or the name too long (the file then just isn't cleaned up).
int Register(int dirFd, const char* name);
void Unregister(int slot);

// Holds the three signals back for its lifetime, so that creating or renaming a file
// and registering or unregistering it happen as one step for a handler.
class Deferred {
 public:
  Deferred();
  ~Deferred();
  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;

 private:
  sigset_t saved_;  // the caller's signal mask
};

}  // namespace xpkit::interrupt_cleanup
