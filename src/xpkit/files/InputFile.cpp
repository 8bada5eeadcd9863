#include "xpkit/files/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "xpkit/files/FileError.h"
#include "xpkit/files/detail/UniqueFd.h"

namespace xpkit {

InputFile::InputFile(const std::string& path)
    : name_(path == "-" ? "standard input" : path), fd_(std::make_unique<UniqueFd>()), isStdin_(path == "-") {
  if (!isStdin_) {
    fd_->reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!*fd_) {
      if (errno == ENOENT) return;
      throw FileError(name_, std::string("cannot open for reading: ") + std::strerror(errno));
    }
  }
  // fd_ owns the descriptor already, so throwing from here on closes it.
  struct stat st {};
  if (::fstat(fd(), &st) != 0) throw FileError(name_, std::string("cannot read: ") + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) throw FileError(name_, std::string("cannot read: ") + std::strerror(EISDIR));
  if (S_ISREG(st.st_mode)) size_ = st.st_size;
}

InputFile::~InputFile() = default;
InputFile::InputFile(InputFile&&) noexcept = default;
InputFile& InputFile::operator=(InputFile&&) noexcept = default;

bool InputFile::missing() const { return !*fd_ && !isStdin_; }

int InputFile::fd() const { return isStdin_ ? STDIN_FILENO : fd_->get(); }

std::size_t InputFile::Read(std::uint8_t* data, std::size_t capacity) {
  while (true) {
    const ssize_t n = ::read(fd(), data, capacity);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw FileError(name_, std::string("cannot read: ") + std::strerror(errno));
  }
}

std::string InputFile::ReadAll(std::size_t limit) {
  std::string bytes;
  if (size_ > 0 && static_cast<std::uint64_t>(size_) <= limit) bytes.reserve(static_cast<std::size_t>(size_));
  std::uint8_t block[65536];
  while (bytes.size() <= limit) {
    const std::size_t n = Read(block, sizeof block);
    if (n == 0) break;
    bytes.append(reinterpret_cast<const char*>(block), n);
  }
  return bytes;
}

}  // namespace xpkit
