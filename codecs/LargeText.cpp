#include "codecs/LargeText.h"

#include <sys/mman.h>

#include <cstdint>

namespace xpkit {

std::u16string LargeText(std::size_t n) {
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  std::u16string text;
  if (n * sizeof(char16_t) >= 2 * kHuge) {
    text.reserve(n);  // allocated, not yet touched
    const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + n * sizeof(char16_t)) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // a hint only
  }
  text.resize(n);
  return text;
}

}  // namespace xpkit
