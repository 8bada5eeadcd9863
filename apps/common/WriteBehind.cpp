#include "xpkit/apps/common/WriteBehind.h"

#include <algorithm>
#include <cstring>

namespace xpkit::cli {

WriteBehind::WriteBehind(OutputFile& out) : out_(out), blocks_(4), thread_([this] { Drain(); }) {
  for (Block& b : blocks_) b.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockSize);
}

WriteBehind::~WriteBehind() {
  try {
    Finish();
  } catch (...) {
  }
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WriteBehind::Drain() {
  for (std::size_t at = 0;; at = (at + 1) % blocks_.size()) {
    Block& b = blocks_[at];
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || b.full; });
      if (!b.full) return;
    }
    try {
      if (!error_) out_.Write(b.bytes.get(), b.size);
    } catch (...) {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      b.full = false;
      b.size = 0;
    }
    changed_.notify_all();
  }
}

void WriteBehind::Hand(std::unique_lock<std::mutex>& lock) {
  blocks_[filling_].full = true;
  filling_ = (filling_ + 1) % blocks_.size();
  lock.unlock();
  changed_.notify_all();
  lock.lock();
}

void WriteBehind::Write(const std::uint8_t* data, std::size_t n) {
  std::unique_lock lock(mutex_);
  while (n > 0) {
    Block* b = &blocks_[filling_];
    changed_.wait(lock, [&] { return !b->full; });
    if (error_) std::rethrow_exception(error_);
    const std::size_t k = std::min(n, kBlockSize - b->size);
    lock.unlock();
    std::memcpy(b->bytes.get() + b->size, data, k);
    lock.lock();
    b->size += k;
    data += k;
    n -= k;
    if (b->size == kBlockSize) Hand(lock);
  }
}

void WriteBehind::Finish() {
  std::unique_lock lock(mutex_);
  if (blocks_[filling_].size > 0) Hand(lock);
  changed_.wait(lock, [&] { return std::none_of(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.full; }); });
  if (error_) std::rethrow_exception(error_);
}

}  // namespace xpkit::cli
