// Base64 over byte buffers, the form the file operations and the command-line tool
// stream through: the scalar kernel, with AVX2 doing the bulk where the CPU has it.
// Results are those of the scalar kernel in every case.
#pragma once
#include <cstddef>
#include <cstdint>

namespace xpkit::base64 {

// Encodes `n` bytes into EncodedLength(n) characters at `dst`; the line counter
// starts afresh with every call.
void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Copies `src` into `dst` (room for `n`) without its CR and LF bytes; returns how
// many bytes were written.
std::size_t StripLineBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Decodes `groups` whole groups of a cleaned text into 3 * groups bytes.
void DecodeGroupBytes(const std::uint8_t* clean, std::size_t groups, std::uint8_t* dst);

// Decodes a whole cleaned text of `n` characters; returns DecodedLength(clean, n), the
// bytes written.
std::size_t DecodeBytes(const std::uint8_t* clean, std::size_t n, std::uint8_t* dst);

}  // namespace xpkit::base64
