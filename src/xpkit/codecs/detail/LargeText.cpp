// Built as C++23 where the compiler has it, for std::basic_string::resize_and_overwrite.
#include "xpkit/codecs/detail/LargeText.h"

#include <sys/mman.h>

#include <cstdint>

namespace xpkit {
namespace {

void HintHugePages(char16_t* text, std::size_t n) {
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  if (n * sizeof(char16_t) < 2 * kHuge) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(text);
  const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t last = (begin + n * sizeof(char16_t)) & ~(kHuge - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // a hint only
}

}  // namespace

std::u16string LargeText(std::size_t n, FillText fill, void* context) {
  std::u16string text;
#if defined(__cpp_lib_string_resize_and_overwrite)
  text.resize_and_overwrite(n, [&](char16_t* data, std::size_t size) {
    HintHugePages(data, size);
    return fill(data, context);
  });
#else
  // Without resize_and_overwrite the text is cleared before `fill` writes it: one more
  // pass over every page, which the hint still makes cheaper.
  text.reserve(n);
  HintHugePages(text.data(), n);
  text.resize(n);
  text.resize(fill(text.data(), context));
#endif
  return text;
}

}  // namespace xpkit
