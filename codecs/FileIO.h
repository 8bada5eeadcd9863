// Whole-file reading and all-or-nothing writing for the codecs and their tool: output
// goes to a temporary file beside the target and is renamed over it only when complete.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace xpkit {

// A file opened for reading; throws Error(FileAccess) naming the file when it exists
// but cannot be opened, and reports a missing file through `missing()`.
class InputFile {
 public:
  explicit InputFile(const std::string& path);  // "-" is standard input
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  bool missing() const { return fd_ < 0; }
  // Size in bytes, or -1 when unknown (a pipe).
  std::int64_t size() const { return size_; }
  // Reads up to `capacity` bytes; 0 at the end. Throws Error(FileAccess) on failure.
  std::size_t Read(std::uint8_t* data, std::size_t capacity);

 private:
  std::string path_;
  int fd_ = -1;
  bool owned_ = false;
  std::int64_t size_ = -1;
};

// Output that appears at `path` only on Commit(); destroyed uncommitted, it removes its
// temporary file and leaves `path` as it was. "-" writes straight to standard output,
// and an existing non-regular file (a device, a FIFO) is written in place.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  void Write(const std::uint8_t* data, std::size_t n);
  void Commit();

 private:
  std::string path_, temp_;
  int fd_ = -1;
  bool toStdout_ = false;  // written in place: standard output or a non-regular file
  bool owned_ = false;     // a descriptor of our own to close on destruction
  bool committed_ = false;
};

}  // namespace xpkit
