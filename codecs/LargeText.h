// Result texts of the codecs, which can be hundreds of megabytes long.
#pragma once
#include <cstddef>
#include <string>

namespace xpkit {

// A text of `n` NUL characters. A long one is first marked for huge pages: faulting
// it in 4 KiB at a time costs several times the encoding itself.
std::u16string LargeText(std::size_t n);

}  // namespace xpkit
