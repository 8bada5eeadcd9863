#include "xpkit/codecs/detail/Base64Pieces.h"

#include "xpkit/codecs/Base64Bytes.h"

namespace xpkit::base64 {

PieceDecoder::PieceDecoder(std::size_t pieceCapacity, const CodecKernels& kernels)
    : capacity_(pieceCapacity),
      kernels_(&kernels),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kHeldMax + pieceCapacity)) {}

std::size_t PieceDecoder::outputRoom() const { return DecodeRoom(kHeldMax + capacity_); }

std::size_t PieceDecoder::Decode(std::size_t n, bool last, std::uint8_t* dst) {
  std::uint8_t* text = buffer_.get();
  const std::size_t total = held_ + n;
  if (last) {
    held_ = 0;
    return DecodeBytes(text, total, dst, *kernels_);
  }
  const Progress p = DecodeGroupsSkippingBreaks(text, LastFourStart(text, total), dst, outputRoom(), *kernels_);
  held_ = 0;
  for (std::size_t i = p.read; i < total; ++i)
    if (!IsBreak(text[i])) text[held_++] = text[i];
  return p.written;
}

}  // namespace xpkit::base64
