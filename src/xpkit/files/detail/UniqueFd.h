// A file descriptor that closes itself, so that no early return or exception leaks it.
#pragma once
#include <unistd.h>

#include <utility>

namespace xpkit {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now and reports what close() said: a delayed write error shows up here.
  int close() { return fd_ < 0 ? 0 : ::close(release()); }

 private:
  int fd_ = -1;
};

}  // namespace xpkit
