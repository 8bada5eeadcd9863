// A regular file read on a thread of its own, a few blocks ahead of its reader, so that
// the system's copying of the next block overlaps the work on the one before: for the
// codec tool, whose own work is far quicker than reading and writing its files.
#pragma once
#include <exception>
#include <thread>

#include "xpkit/files/InputFile.h"
#include "codec/BlockQueue.h"

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
  void Fill();

  InputFile& in_;
  BlockQueue queue_;
  BlockQueue::Block* current_ = nullptr;  // the full block being read from
  std::size_t taken_ = 0;                 // of it
  std::exception_ptr error_;              // set before the empty block that ends the input
  std::thread thread_;                    // last: started once everything it uses is there
};

}  // namespace xpkit::cli
