// Result texts of the codecs, which can be hundreds of megabytes long.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace xpkit {

// A text of at most `n` characters that `fill` writes straight into its storage,
// returning how many it wrote. The storage is not cleared first: every page is touched
// once, by `fill`. A long text is marked for huge pages, since faulting it in 4 KiB at a
// time costs several times the work of a codec.
std::u16string LargeText(std::size_t n, const std::function<std::size_t(char16_t* text)>& fill);

}  // namespace xpkit
