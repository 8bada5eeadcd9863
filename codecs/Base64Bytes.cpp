#include "codecs/Base64Bytes.h"

#include "codecs/Base64Avx2.h"
#include "codecs/Base64Kernel.h"

namespace xpkit::base64 {
namespace {

const bool kAvx2 = avx2::Supported();

auto ByteAt(const std::uint8_t* src) {
  return [src](std::size_t i) { return src[i]; };
}
auto PutAt(std::uint8_t* dst) {
  return [dst](std::size_t i, std::uint8_t b) { dst[i] = b; };
}

}  // namespace

void EncodeBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  // The vector kernel does whole lines, so the rest starts a line of its own.
  const std::size_t done = kAvx2 ? avx2::EncodeLines(src, n, dst) : 0;
  Encode(n - done, ByteAt(src + done), dst + EncodedLength(done));
}

std::size_t StripLineBreaks(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  std::size_t done = 0;
  std::size_t o = kAvx2 ? avx2::StripLineBreaks(src, n, dst, done) : 0;
  for (; done < n; ++done) {
    dst[o] = src[done];
    o += src[done] != '\r' && src[done] != '\n';
  }
  return o;
}

void DecodeGroupBytes(const std::uint8_t* clean, std::size_t groups, std::uint8_t* dst) {
  const std::size_t done = kAvx2 ? avx2::DecodeGroups(clean, groups, dst) : 0;
  DecodeGroups(clean + 4 * done, groups - done, PutAt(dst + 3 * done));
}

std::size_t DecodeBytes(const std::uint8_t* clean, std::size_t n, std::uint8_t* dst) {
  if (n == 0) return 0;
  DecodeGroupBytes(clean, (n - 1) / 4, dst);
  DecodeLast(clean, n, PutAt(dst));
  return DecodedLength(clean, n);
}

}  // namespace xpkit::base64
