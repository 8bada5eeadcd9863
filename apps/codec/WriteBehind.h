// Output handed to a thread of its own, which writes it a few blocks behind its writer,
// so that the system's copying of one block overlaps the work on the next.
#pragma once
#include <atomic>
#include <exception>
#include <thread>

#include "xpkit/files/OutputFile.h"
#include "codec/BlockQueue.h"

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
  void Drain();
  void ThrowIfFailed();

  OutputFile& out_;
  BlockQueue queue_;
  BlockQueue::Block* filling_ = nullptr;  // the free block being filled
  std::exception_ptr error_;              // written by the thread before `failed_`
  std::atomic<bool> failed_ = false;
  std::thread thread_;  // last: started once everything it uses is there
};

}  // namespace xpkit::cli
