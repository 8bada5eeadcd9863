// Result texts of the codecs, which can be hundreds of megabytes long.
#pragma once
#include <cstddef>
#include <string>
#include <type_traits>

namespace xpkit {

// A text of at most `n` characters that `fill` writes straight into its storage,
// returning how many it wrote. Where the library has resize_and_overwrite (C++23) the
// storage is not cleared first, and every page is touched once, by `fill`. A long text is marked for huge pages, since faulting it in 4 KiB at a
// time costs several times the work of a codec.
template <class Fill>
std::u16string LargeText(std::size_t n, Fill&& fill);

// The same with `fill` as a plain function and its context.
using FillText = std::size_t (*)(char16_t* text, void* context);
std::u16string LargeText(std::size_t n, FillText fill, void* context);

template <class Fill>
std::u16string LargeText(std::size_t n, Fill&& fill) {
  using F = std::remove_reference_t<Fill>;
  return LargeText(n, [](char16_t* text, void* f) { return (*static_cast<F*>(f))(text); }, &fill);
}

}  // namespace xpkit
