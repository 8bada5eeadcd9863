// Base64 over byte buffers, the form the file streams and the text API run on: the
// scalar kernel, with AVX2 or AVX-512 doing the bulk when the kernels given are theirs.
// Results are those of the scalar kernel in every case.
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/CodecKernel.h"

namespace xpkit::base64 {

// How encoded text is cut into lines: `length` characters a line (0: no line breaks at
// all), each full line followed by CR LF, or by LF alone when `crlf` is false. A last
// line that is not full gets no break. The default is 76 characters and CR LF.
struct LineFormat {
  std::size_t length = 4 * kGroupsPerLine;
  bool crlf = true;
  bool operator==(const LineFormat&) const = default;
};

// Characters for `n` input bytes in that line format.
std::size_t EncodedLength(std::size_t n, const LineFormat& lines);

// Encodes `n` bytes into EncodedLength(n) characters at `dst`, CR LF after every 76; the
// line counter starts afresh with every call.
void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const CodecKernels& kernels);
// The same in any line format, into EncodedLength(n, lines) characters.
void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const LineFormat& lines,
                 const CodecKernels& kernels);

// Encodes a long input that arrives in pieces, the line counter running on from one
// piece to the next. Every piece but the last must be a multiple of 3 bytes long.
class LineEncoder {
 public:
  LineEncoder(const LineFormat& lines, const CodecKernels& kernels) : lines_(lines), kernels_(&kernels) {}
  // The characters that encoding a piece of `n` bytes writes next.
  std::size_t Room(std::size_t n) const;
  // Encodes the piece into Room(n) characters at `dst`, and returns that number.
  std::size_t Encode(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

 private:
  LineFormat lines_;
  const CodecKernels* kernels_;
  std::size_t column_ = 0;  // characters on the current line
};

// Room that decoding `n` characters may need: three bytes for every four, or part of four.
constexpr std::size_t DecodeRoom(std::size_t n) { return (n + 3) / 4 * 3; }

// Decodes whole groups of the characters of src[0, n) other than CR and LF into `dst`
// (room for `room` bytes, at least three per whole group), in one pass.
Progress DecodeGroupsSkippingBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room,
                                    const CodecKernels& kernels);

// Decodes a whole text of `n` characters, skipping CR and LF, into DecodeRoom(n) bytes
// at `dst`: a short last group counts as filled with "A", and a final "=" or "=="
// shortens it. Returns the bytes written.
std::size_t DecodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const CodecKernels& kernels);

}  // namespace xpkit::base64
