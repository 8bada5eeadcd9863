// AVX2 kernels for Base64 over byte buffers. Each does the bulk of a buffer and
// reports how far it got; the scalar kernel finishes the rest. None of them reads or
// writes outside the buffers' natural sizes. Call them only when Supported().
#pragma once
#include <cstddef>
#include <cstdint>

namespace xpkit::base64::avx2 {

bool Supported();

// Encodes whole 57-byte lines of `src` into 78 characters each (76 and CR LF), as long
// as 4 more bytes are readable past the line. Returns the bytes consumed, a multiple of 57.
std::size_t EncodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Decodes groups of four characters into three bytes, 8 groups at a time while at
// least 11 remain. Returns the groups done.
std::size_t DecodeGroups(const std::uint8_t* clean, std::size_t groups, std::uint8_t* dst);

// Copies `src` into `dst` without its CR and LF bytes, in 32-byte blocks while 64 bytes
// remain. Sets `consumed` to the input bytes done and returns the bytes written.
std::size_t StripLineBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t& consumed);

}  // namespace xpkit::base64::avx2
