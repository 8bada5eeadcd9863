#include "xpkit/codecs/Base64Bytes.h"

#include "xpkit/codecs/detail/Base64Avx2.h"
#include "xpkit/codecs/detail/Base64Avx512.h"

namespace xpkit::base64 {

void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, CodecKernel kernel) {
  // The vector kernels do whole lines, so the rest starts a line of its own.
  const std::size_t done = kernel == CodecKernel::Avx512 ? avx512::EncodeLines(src, n, dst)
                           : kernel == CodecKernel::Avx2 ? avx2::EncodeLines(src, n, dst)
                                                         : 0;
  Encode(n - done, [src = src + done](std::size_t i) { return src[i]; }, dst + EncodedLength(done));
}

Progress DecodeGroupsSkippingBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room,
                                    CodecKernel kernel) {
  const Progress bulk = kernel == CodecKernel::Avx512 ? avx512::DecodeLines(src, n, dst, room)
                        : kernel == CodecKernel::Avx2 ? avx2::DecodeLines(src, n, dst, room)
                                                      : Progress{};
  const Progress rest = DecodeGroupsSkippingBreaks(src + bulk.read, n - bulk.read, dst + bulk.written);
  return {rest.written != 0 ? bulk.read + rest.read : bulk.read, bulk.written + rest.written};
}

std::size_t DecodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, CodecKernel kernel) {
  // Whole groups up to the last four characters, then those and what is left before
  // them (at most 7 in all) as the text's end.
  const Progress p = DecodeGroupsSkippingBreaks(src, LastFourStart(src, n), dst, DecodeRoom(n), kernel);
  std::uint8_t end[8];
  std::size_t m = 0;
  for (std::size_t i = p.read; i < n; ++i)
    if (!IsBreak(src[i])) end[m++] = src[i];
  Decode(end, m, [out = dst + p.written](std::size_t i, std::uint8_t b) { out[i] = b; });
  return p.written + DecodedLength(end, m);
}

}  // namespace xpkit::base64
