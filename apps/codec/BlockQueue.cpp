#include "codec/BlockQueue.h"

#include <algorithm>

namespace xpkit::cli {

BlockQueue::Block* BlockQueue::Free() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || !full_[free_]; });
  return stopped_ ? nullptr : &blocks_[free_];
}

void BlockQueue::Fill() {
  {
    std::lock_guard lock(mutex_);
    full_[free_] = true;
    free_ = (free_ + 1) % blocks_.size();
  }
  changed_.notify_all();
}

BlockQueue::Block* BlockQueue::Full() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || full_[taken_]; });
  return stopped_ ? nullptr : &blocks_[taken_];
}

void BlockQueue::Empty() {
  {
    std::lock_guard lock(mutex_);
    full_[taken_] = false;
    taken_ = (taken_ + 1) % blocks_.size();
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
