#include "codecs/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/Error.h"

namespace xpkit {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw Error(ErrorCode::FileAccess, "'" + path + "': " + what + ": " + std::strerror(errno));
}

std::string TempBeside(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::random_device rd;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(rd()));
  return dir + "." + name + "." + suffix + ".tmp";
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  if (path == "-") {
    fd_ = STDIN_FILENO;
  } else {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      if (errno == ENOENT) return;  // missing
      Fail(path, "cannot open for reading");
    }
    owned_ = true;
  }
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = st.st_size;
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    Fail(path, "cannot read");
  }
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

std::size_t InputFile::Read(std::uint8_t* data, std::size_t capacity) {
  while (true) {
    const ssize_t n = ::read(fd_, data, capacity);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) Fail(path_, "cannot read");
  }
}

OutputFile::OutputFile(const std::string& path) : path_(path) {
  if (path == "-") {
    fd_ = STDOUT_FILENO;
    toStdout_ = true;
    return;
  }
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
    // A device, FIFO or the like is written in place: renaming over it would replace it.
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) Fail(path, "cannot open for writing");
    toStdout_ = true;  // written straight through, nothing to commit
    owned_ = true;
    return;
  }
  temp_ = TempBeside(path);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) Fail(path, "cannot create");
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd_, st.st_mode & 07777);  // keep the old file's mode
}

OutputFile::~OutputFile() {
  if (owned_ && fd_ >= 0) ::close(fd_);
  if (toStdout_ || committed_) return;
  ::close(fd_);
  ::unlink(temp_.c_str());
}

void OutputFile::Write(const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd_, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      Fail(path_, "cannot write");
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
}

void OutputFile::Commit() {
  if (toStdout_) {
    committed_ = true;
    return;
  }
  if (::close(fd_) != 0) {
    fd_ = -1;
    ::unlink(temp_.c_str());
    committed_ = true;
    Fail(path_, "cannot write");
  }
  if (::rename(temp_.c_str(), path_.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp_.c_str());
    committed_ = true;
    errno = saved;
    Fail(path_, "cannot replace");
  }
  committed_ = true;
}

}  // namespace xpkit
