// A file read from start to end, or standard input for "-".
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace xpkit {

class UniqueFd;  // files/detail/UniqueFd.h: a descriptor that closes itself

class InputFile {
 public:
  // Throws FileError naming the file when it exists but cannot be read (a directory,
  // no permission); a missing file is reported through missing() instead.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(InputFile&&) noexcept;
  InputFile& operator=(InputFile&&) noexcept;

  bool missing() const;
  // Size in bytes when the open file is a regular one, else -1 (a pipe, a terminal).
  // Only a hint: the file may grow or shrink while it is read.
  std::int64_t size() const { return size_; }
  // Reads up to `capacity` bytes; 0 at the end. Throws FileError on failure.
  std::size_t Read(std::uint8_t* data, std::size_t capacity);
  // Reads the rest of the file, but stops once it has more than `limit` bytes, so that
  // a caller can refuse a file that is too long without reading it all.
  std::string ReadAll(std::size_t limit = std::string::npos);
  // The name messages use: the path, or "standard input".
  const std::string& name() const { return name_; }
  // The open file, for telling whether an output is the same file.
  int descriptor() const { return fd(); }

 private:
  int fd() const;

  std::string name_;
  std::unique_ptr<UniqueFd> fd_;
  bool isStdin_ = false;
  std::int64_t size_ = -1;
};

}  // namespace xpkit
