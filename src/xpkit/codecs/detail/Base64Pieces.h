// Base64 decoding of a text that arrives in pieces (file blocks, blocks of a long
// text), with CR and LF anywhere, each piece decoded in one pass as it comes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "xpkit/codecs/CodecKernel.h"

namespace xpkit::base64 {

class PieceDecoder {
 public:
  PieceDecoder(std::size_t pieceCapacity, const CodecKernels& kernels);

  // Where the next piece goes, up to pieceCapacity bytes: right behind the characters
  // held back from the pieces before, so the kernels see one run of text.
  std::uint8_t* piece() { return buffer_.get() + held_; }
  // The most one Decode writes.
  std::size_t outputRoom() const;

  // Decodes what the held characters and the `n` bytes written at piece() complete,
  // into `dst`. Until the `last` piece, the last four characters other than CR and LF
  // are held back: only the text's end decides its last group and its padding.
  // Returns the bytes written.
  std::size_t Decode(std::size_t n, bool last, std::uint8_t* dst);

 private:
  static constexpr std::size_t kHeldMax = 7;  // 0..3 after the last whole group, and 4
  std::size_t capacity_;
  const CodecKernels* kernels_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t held_ = 0;
};

}  // namespace xpkit::base64
