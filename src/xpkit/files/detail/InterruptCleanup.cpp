#include "xpkit/files/detail/InterruptCleanup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <utility>

namespace xpkit::interrupt_cleanup {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSlots = 16;
constexpr int kFree = -1;

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the table without locks");

struct Slot {
  std::atomic<int> dirFd{kFree};  // set last, after the name: the handler trusts a name it finds here
  char name[kMaxName + 1] = {};
};

// All of the module's writable state, in one object. The handler reads only `slots`
// and `previous`; the rest changes under `lock`, with the signals held back.
struct Table {
  std::mutex lock;
  int used = 0;
  bool taken[kSlots] = {};
  bool installed[3] = {};
  struct sigaction previous[3] = {};
  Slot slots[kSlots];
};
constinit Table table;

void OnSignal(int sig) {
  for (Slot& slot : table.slots) {
    const int dirFd = slot.dirFd.load(std::memory_order_acquire);
    if (dirFd != kFree) ::unlinkat(dirFd, slot.name, 0);
  }
  // Back to the default action; the signal, held back while its handler runs, is then
  // delivered again on return and ends the process.
  for (int i = 0; i < 3; ++i)
    if (kSignals[i] == sig) ::sigaction(sig, &table.previous[i], nullptr);
  ::raise(sig);
}

void Install() {
  for (int i = 0; i < 3; ++i) {
    struct sigaction now {};
    ::sigaction(kSignals[i], nullptr, &now);
    if (now.sa_handler != SIG_DFL || (now.sa_flags & SA_SIGINFO)) continue;  // someone else's choice
    struct sigaction ours {};
    ours.sa_handler = OnSignal;
    sigemptyset(&ours.sa_mask);
    for (int s : kSignals) sigaddset(&ours.sa_mask, s);
    table.previous[i] = now;
    table.installed[i] = ::sigaction(kSignals[i], &ours, nullptr) == 0;
  }
}

void Restore() {
  for (int i = 0; i < 3; ++i)
    if (std::exchange(table.installed[i], false)) ::sigaction(kSignals[i], &table.previous[i], nullptr);
}

}  // namespace

int Register(int dirFd, const char* name) {
  if (dirFd < 0 || std::strlen(name) > static_cast<std::size_t>(kMaxName)) return -1;
  std::lock_guard<std::mutex> hold(table.lock);
  for (int i = 0; i < kSlots; ++i) {
    if (table.taken[i]) continue;
    table.taken[i] = true;
    std::strcpy(table.slots[i].name, name);
    table.slots[i].dirFd.store(dirFd, std::memory_order_release);
    if (table.used++ == 0) Install();
    return i;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  std::lock_guard<std::mutex> hold(table.lock);
  if (!table.taken[slot]) return;
  table.slots[slot].dirFd.store(kFree, std::memory_order_release);
  table.taken[slot] = false;
  if (--table.used == 0) Restore();
}

Deferred::Deferred() {
  sigset_t block;
  sigemptyset(&block);
  for (int s : kSignals) sigaddset(&block, s);
  pthread_sigmask(SIG_BLOCK, &block, &saved_);
}

Deferred::~Deferred() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

}  // namespace xpkit::interrupt_cleanup
