#include "xpkit/codecs/Base64Bytes.h"

#include <algorithm>
#include <cstring>

namespace xpkit::base64 {
namespace {

constexpr std::size_t FlatLength(std::size_t n) { return (n + 2) / 3 * 4; }

// Four characters for every three bytes, or part of three, with no line breaks.
void EncodeFlat(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const CodecKernels& kernels) {
  const std::size_t done = kernels.encodeFlat(src, n, dst);
  Encode(n - done, [src = src + done](std::size_t i) { return src[i]; }, dst + FlatLength(done), 0);
}

std::size_t BreakSize(const LineFormat& lines) { return lines.crlf ? 2 : 1; }

}  // namespace

std::size_t EncodedLength(std::size_t n, const LineFormat& lines) {
  const std::size_t flat = FlatLength(n);
  return lines.length == 0 ? flat : flat + flat / lines.length * BreakSize(lines);
}

void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const CodecKernels& kernels) {
  // The vector kernels do whole lines, so the rest starts a line of its own.
  const std::size_t done = kernels.encodeLines(src, n, dst);
  Encode(n - done, [src = src + done](std::size_t i) { return src[i]; }, dst + EncodedLength(done));
}

void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const LineFormat& lines,
                 const CodecKernels& kernels) {
  LineEncoder(lines, kernels).Encode(src, n, dst);
}

std::size_t LineEncoder::Room(std::size_t n) const {
  const std::size_t flat = FlatLength(n);
  return lines_.length == 0 ? flat : flat + (column_ + flat) / lines_.length * BreakSize(lines_);
}

std::size_t LineEncoder::Encode(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  const std::size_t flat = FlatLength(n);
  if (lines_.length == 0) {
    EncodeFlat(src, n, dst, *kernels_);
    return flat;
  }
  if (lines_ == LineFormat{} && column_ == 0) {  // the line kernels, from a line's start
    EncodeBytes(src, n, dst, *kernels_);
    column_ = flat % lines_.length;
    return EncodedLength(n);
  }
  // Blocks of whole groups, encoded into the cache and cut into lines from there.
  constexpr std::size_t kBlock = 3 * 1024;
  std::uint8_t block[kBlock / 3 * 4];
  const std::size_t length = lines_.length;
  std::size_t o = 0;
  for (std::size_t from = 0; from < n; from += kBlock) {
    const std::size_t m = std::min(kBlock, n - from);
    EncodeFlat(src + from, m, block, *kernels_);
    for (std::size_t at = 0, chars = FlatLength(m); at < chars;) {
      const std::size_t take = std::min(chars - at, length - column_);
      std::memcpy(dst + o, block + at, take);
      o += take;
      at += take;
      column_ += take;
      if (column_ < length) break;
      if (lines_.crlf) dst[o++] = '\r';
      dst[o++] = '\n';
      column_ = 0;
    }
  }
  return o;
}

Progress DecodeGroupsSkippingBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room,
                                    const CodecKernels& kernels) {
  const Progress bulk = kernels.decodeLines(src, n, dst, room);
  const Progress rest = DecodeGroupsSkippingBreaks(src + bulk.read, n - bulk.read, dst + bulk.written);
  return {rest.written != 0 ? bulk.read + rest.read : bulk.read, bulk.written + rest.written};
}

std::size_t DecodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, const CodecKernels& kernels) {
  // Whole groups up to the last four characters, then those and what is left before
  // them (at most 7 in all) as the text's end.
  const Progress p = DecodeGroupsSkippingBreaks(src, LastFourStart(src, n), dst, DecodeRoom(n), kernels);
  std::uint8_t end[8];
  std::size_t m = 0;
  for (std::size_t i = p.read; i < n; ++i)
    if (!IsBreak(src[i])) end[m++] = src[i];
  Decode(end, m, [out = dst + p.written](std::size_t i, std::uint8_t b) { out[i] = b; });
  return p.written + DecodedLength(end, m);
}

}  // namespace xpkit::base64
