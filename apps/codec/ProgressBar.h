// A progress bar on standard error for the long runs of a tool.
#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace xpkit::cli {

class ProgressBar {
 public:
  // Shown on `out` when `show` and the input's expected size `total` is known (not -1)
  // and large enough to take a while.
  ProgressBar(std::FILE* out, std::int64_t total, bool show);
  // For the standard error stream, when it is a terminal.
  explicit ProgressBar(std::int64_t total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // `done` bytes of the input are through. The input may turn out longer or shorter
  // than expected (a file growing or shrinking while it is read): past the end the
  // bar stays full and the total follows what was read. Never fails.
  void operator()(std::uint64_t done) noexcept;

  static constexpr std::int64_t kMinimum = 64 << 20;

 private:
  std::FILE* out_;
  std::uint64_t total_;
  bool on_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace xpkit::cli
