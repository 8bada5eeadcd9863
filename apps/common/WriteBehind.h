// Output handed to a thread of its own, which writes it a few blocks behind its writer,
// so that the system's copying of one block overlaps the work on the next.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "xpkit/platform/OutputFile.h"

namespace xpkit::cli {

class WriteBehind {
 public:
  explicit WriteBehind(OutputFile& out);
  // Waits for what was handed over to be written; an error is not reported here (Finish).
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Takes `n` bytes to be written; throws the error of an earlier write.
  void Write(const std::uint8_t* data, std::size_t n);
  // Waits until everything is written; throws the error of any write.
  void Finish();

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    bool full = false;
  };
  void Drain();
  void Hand(std::unique_lock<std::mutex>& lock);

  static constexpr std::size_t kBlockSize = 1 << 20;
  OutputFile& out_;
  std::vector<Block> blocks_;
  std::size_t filling_ = 0;  // the block Write() fills
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace xpkit::cli
