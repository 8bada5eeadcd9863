// The vector kernels behind TextBytes.h. Each converts a prefix of its input and returns
// how many characters or bytes it did; the scalar code finishes the rest. Loads and
// stores stay inside the buffers. Call them only when the CPU runs their kernel.
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codepage/CodePage.h"

namespace xpkit::textbytes {

// The bytes of 16 characters through the code page's table, for the blocks that are not
// all below 0x80.
inline void TableBytes16(const char16_t* text, std::uint8_t* bytes, const CodePage& codePage) {
#pragma GCC unroll 16
  for (int k = 0; k < 16; ++k) bytes[k] = codePage.ToByte(text[k]);
}

namespace avx2 {
std::size_t ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage);
std::size_t ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage);
// Returns the characters read; `kept` is set to those written.
std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                               std::size_t& kept);
}  // namespace avx2

namespace avx512 {
std::size_t ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage);
std::size_t ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage);
std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                               std::size_t& kept);
}  // namespace avx512

}  // namespace xpkit::textbytes
