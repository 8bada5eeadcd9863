// AVX2 kernels for Base64 over byte buffers. Each does the bulk of a buffer and reports
// how far it got; the scalar kernel finishes the rest. Loads and stores stay inside the
// buffers. Call them only when CpuRuns(CodecKernel::Avx2).
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codecs/Base64Kernel.h"

namespace xpkit::base64::avx2 {

// Encodes whole 57-byte lines of `src` into 78 characters each (76 and CR LF), as long
// as 4 more bytes are readable past the line. Returns the bytes consumed, a multiple of 57.
std::size_t EncodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Encodes whole groups of 3 bytes into 4 characters each, with no line breaks, as
// long as 4 more bytes are readable past them. Returns the bytes consumed, a multiple of 24.
std::size_t EncodeFlat(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Decodes whole groups of the characters of `src` other than CR and LF, 32 bytes of
// input at a time while 64 remain, writing no further than dst + room. Returns where
// it stopped.
Progress DecodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room);

}  // namespace xpkit::base64::avx2
