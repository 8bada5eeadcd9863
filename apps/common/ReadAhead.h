// A regular file read on a thread of its own, a few blocks ahead of its reader, so that
// the system's copying of the next block overlaps the work on the one before: for the
// codec tool, whose own work is far quicker than reading and writing its files.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "xpkit/platform/InputFile.h"

namespace xpkit::cli {

class ReadAhead {
 public:
  // `in` must be a regular file (size() >= 0), whose reads never wait for a writer:
  // the thread is joined when the ReadAhead goes.
  explicit ReadAhead(InputFile& in);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // As InputFile::Read: up to `capacity` bytes, 0 at the end; an error of the file's
  // reading is thrown here, after the bytes read before it.
  std::size_t Read(std::uint8_t* data, std::size_t capacity);

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0, taken = 0;
    bool full = false;
  };
  void Fill();

  static constexpr std::size_t kBlockSize = 1 << 20;
  InputFile& in_;
  std::vector<Block> blocks_;
  std::size_t next_ = 0;  // the block the reader takes from next
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false, ended_ = false;
  std::exception_ptr error_;
  std::thread thread_;  // last: started once everything it uses is there
};

}  // namespace xpkit::cli
