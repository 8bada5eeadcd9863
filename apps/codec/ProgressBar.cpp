#include "codec/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace xpkit::cli {

ProgressBar::ProgressBar(std::FILE* out, std::int64_t total, bool show)
    : out_(out), total_(total > 0 ? static_cast<std::uint64_t>(total) : 0), on_(show && total >= kMinimum) {}

ProgressBar::ProgressBar(std::int64_t total) : ProgressBar(stderr, total, isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
  if (on_ && shown_) std::fputs("\r\033[K", out_);
}

void ProgressBar::operator()(std::uint64_t done) noexcept {
  if (!on_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  shown_ = true;
  total_ = std::max(total_, done);
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done * kWidth / total_);
  char bar[kWidth + 1];
  std::memset(bar, '#', static_cast<std::size_t>(filled));
  std::memset(bar + filled, ' ', static_cast<std::size_t>(kWidth - filled));
  bar[kWidth] = '\0';
  std::fprintf(out_, "\r[%s] %3d%%  %llu / %llu MiB", bar, static_cast<int>(done * 100 / total_),
               static_cast<unsigned long long>(done >> 20), static_cast<unsigned long long>(total_ >> 20));
}

}  // namespace xpkit::cli
