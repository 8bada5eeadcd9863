#include "xpkit/apps/common/ReadAhead.h"

#include <algorithm>
#include <cstring>

namespace xpkit::cli {

ReadAhead::ReadAhead(InputFile& in) : in_(in), blocks_(4), thread_([this] { Fill(); }) {}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ReadAhead::Fill() {
  for (std::size_t at = 0;; at = (at + 1) % blocks_.size()) {
    Block& b = blocks_[at];
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || !b.full; });
      if (stop_) return;
    }
    if (!b.bytes) b.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockSize);
    std::size_t n = 0;
    std::exception_ptr error;
    try {
      n = in_.Read(b.bytes.get(), kBlockSize);
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      b.size = n;
      b.taken = 0;
      b.full = true;
      ended_ = n == 0;
      error_ = error;
    }
    changed_.notify_all();
    if (n == 0) return;  // the end, or an error: nothing more is read
  }
}

std::size_t ReadAhead::Read(std::uint8_t* data, std::size_t capacity) {
  std::unique_lock lock(mutex_);
  Block& b = blocks_[next_];
  changed_.wait(lock, [&] { return b.full; });
  if (b.size == 0) {
    if (error_) std::rethrow_exception(error_);
    return 0;  // and again at every later call: the end block stays full
  }
  const std::size_t n = std::min(capacity, b.size - b.taken);
  std::memcpy(data, b.bytes.get() + b.taken, n);
  b.taken += n;
  if (b.taken == b.size) {
    b.full = false;
    next_ = (next_ + 1) % blocks_.size();
    lock.unlock();
    changed_.notify_all();
  }
  return n;
}

}  // namespace xpkit::cli
