#include "codec/BlockQueue.h"

#include <algorithm>

namespace xpkit::cli {

// Each side waits for its next block to be what it wants, and then hands it over
// flipped: the filler wants free blocks and passes full ones, the taker the reverse.
BlockQueue::Block* BlockQueue::Await(const std::size_t& next, bool full) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || full_[next] == full; });
  return stopped_ ? nullptr : &blocks_[next];
}

void BlockQueue::Pass(std::size_t& next, bool full) {
  {
    std::lock_guard lock(mutex_);
    full_[next] = full;
    next = (next + 1) % blocks_.size();
  }
  changed_.notify_all();
}

void BlockQueue::Drain() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || std::none_of(full_.begin(), full_.end(), [](bool f) { return f; }); });
}

void BlockQueue::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

}  // namespace xpkit::cli
