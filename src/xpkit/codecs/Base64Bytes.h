// Base64 over byte buffers, the form the file streams and the text API run on: the
// scalar kernel, with AVX2 or AVX-512 doing the bulk when the kernel choice says so.
// Results are those of the scalar kernel in every case.
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/CodecKernel.h"

namespace xpkit::base64 {

// Encodes `n` bytes into EncodedLength(n) characters at `dst`; the line counter
// starts afresh with every call.
void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, CodecKernel kernel = ChooseCodecKernel());

// Room that decoding `n` characters may need: three bytes for every four, or part of four.
constexpr std::size_t DecodeRoom(std::size_t n) { return (n + 3) / 4 * 3; }

// Decodes whole groups of the characters of src[0, n) other than CR and LF into `dst`
// (room for `room` bytes, at least three per whole group), in one pass.
Progress DecodeGroupsSkippingBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room,
                                    CodecKernel kernel = ChooseCodecKernel());

// Decodes a whole text of `n` characters, skipping CR and LF, into DecodeRoom(n) bytes
// at `dst`: a short last group counts as filled with "A", and a final "=" or "=="
// shortens it. Returns the bytes written.
std::size_t DecodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst,
                        CodecKernel kernel = ChooseCodecKernel());

}  // namespace xpkit::base64
