#include "codec/ReadAhead.h"

#include <algorithm>
#include <cstring>

namespace xpkit::cli {

ReadAhead::ReadAhead(InputFile& in) : in_(in), thread_([this] { Fill(); }) {}

ReadAhead::~ReadAhead() {
  queue_.Stop();
  thread_.join();
}

void ReadAhead::Fill() {
  while (BlockQueue::Block* b = queue_.Free()) {
    try {
      b->size = in_.Read(b->bytes.get(), BlockQueue::kBlockSize);
    } catch (...) {
      b->size = 0;
      error_ = std::current_exception();
    }
    queue_.Fill();
    if (b->size == 0) return;  // the end, or an error: nothing more is read
  }
}

std::size_t ReadAhead::Read(std::uint8_t* data, std::size_t capacity) {
  if (!current_) {
    current_ = queue_.Full();
    taken_ = 0;
  }
  if (current_->size == 0) {  // the end block stays: every later call ends here too
    if (error_) std::rethrow_exception(error_);
    return 0;
  }
  const std::size_t n = std::min(capacity, current_->size - taken_);
  std::memcpy(data, current_->bytes.get() + taken_, n);
  taken_ += n;
  if (taken_ == current_->size) {
    current_ = nullptr;
    queue_.Empty();
  }
  return n;
}

}  // namespace xpkit::cli
