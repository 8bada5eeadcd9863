#include "codec/WriteBehind.h"

#include <algorithm>
#include <cstring>

namespace xpkit::cli {

WriteBehind::WriteBehind(OutputFile& out) : out_(out), thread_([this] { Drain(); }) {}

WriteBehind::~WriteBehind() {
  try {
    Finish();
  } catch (...) {
  }
  queue_.Stop();
  thread_.join();
}

void WriteBehind::Drain() {
  while (BlockQueue::Block* b = queue_.Full()) {
    if (!failed_.load(std::memory_order_relaxed)) {
      try {
        out_.Write(b->bytes.get(), b->size);
      } catch (...) {
        error_ = std::current_exception();
        failed_.store(true, std::memory_order_release);
      }
    }
    b->size = 0;
    queue_.Empty();
  }
}

void WriteBehind::ThrowIfFailed() {
  if (failed_.load(std::memory_order_acquire)) std::rethrow_exception(error_);
}

void WriteBehind::Write(const std::uint8_t* data, std::size_t n) {
  ThrowIfFailed();
  while (n > 0) {
    if (!filling_) filling_ = queue_.Free();
    const std::size_t k = std::min(n, BlockQueue::kBlockSize - filling_->size);
    std::memcpy(filling_->bytes.get() + filling_->size, data, k);
    filling_->size += k;
    data += k;
    n -= k;
    if (filling_->size == BlockQueue::kBlockSize) {
      filling_ = nullptr;
      queue_.Fill();
    }
  }
}

void WriteBehind::Finish() {
  if (filling_ && filling_->size > 0) {
    filling_ = nullptr;
    queue_.Fill();
  }
  queue_.Drain();
  ThrowIfFailed();
}

}  // namespace xpkit::cli
