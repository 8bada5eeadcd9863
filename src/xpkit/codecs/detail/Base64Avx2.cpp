#include "xpkit/codecs/detail/Base64Avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

// Only these functions carry AVX2 code; the rest of the program runs on any x86-64.
#define XPKIT_AVX2 __attribute__((target("avx2")))

namespace xpkit::base64::avx2 {
namespace {

// 24 bytes at `src` (reading 28) into their 32 characters at `dst`.
XPKIT_AVX2 inline void EncodeBlock(const std::uint8_t* src, std::uint8_t* dst) {
  // Each 128-bit lane takes four groups of three bytes.
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 12));
  __m256i in = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
  // Group a b c becomes the 32-bit word with bytes b a c b, so that each 6-bit index
  // can be cut out with one multiply per 16-bit half.
  in = _mm256_shuffle_epi8(in, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,  //
                                                1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10));
  const __m256i ac = _mm256_mulhi_epu16(_mm256_and_si256(in, _mm256_set1_epi32(0x0fc0fc00)),
                                        _mm256_set1_epi32(0x04000040));  // indices 0 and 2
  const __m256i bd = _mm256_mullo_epi16(_mm256_and_si256(in, _mm256_set1_epi32(0x003f03f0)),
                                        _mm256_set1_epi32(0x01000010));  // indices 1 and 3
  const __m256i index = _mm256_or_si256(ac, bd);
  // Each index range of the alphabet gets its own offset: 0..25 'A', 26..51 'a' - 26,
  // 52..61 '0' - 52, 62 '+' - 62, 63 '/' - 63; the range is found by saturating
  // subtraction, with 0..25 moved to a slot of its own.
  __m256i slot = _mm256_subs_epu8(index, _mm256_set1_epi8(51));
  const __m256i upper = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), index);
  slot = _mm256_or_si256(slot, _mm256_and_si256(upper, _mm256_set1_epi8(13)));
  const __m256i offsets = _mm256_setr_epi8(  //
      'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
      '+' - 62, '/' - 63, 'A', 0, 0,  //
      'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
      '+' - 62, '/' - 63, 'A', 0, 0);
  const __m256i chars = _mm256_add_epi8(index, _mm256_shuffle_epi8(offsets, slot));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), chars);
}

XPKIT_AVX2 inline __m256i InRange(__m256i c, char first, char last) {
  return _mm256_and_si256(_mm256_cmpgt_epi8(c, _mm256_set1_epi8(static_cast<char>(first - 1))),
                          _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(last + 1)), c));
}

// 32 characters at `src` into their 24 bytes at `dst` (writing 32). A character outside
// the alphabet, "=" included, counts as 0.
XPKIT_AVX2 inline void DecodeBlock(const std::uint8_t* src, std::uint8_t* dst) {
  const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
  // Bytes from 0x80 up compare as negative and so fall outside every range.
  const __m256i upper = InRange(c, 'A', 'Z'), lower = InRange(c, 'a', 'z'), digit = InRange(c, '0', '9');
  const __m256i plus = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('+'));
  const __m256i slash = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('/'));
  __m256i offset = _mm256_and_si256(upper, _mm256_set1_epi8(-'A'));
  offset = _mm256_or_si256(offset, _mm256_and_si256(lower, _mm256_set1_epi8(26 - 'a')));
  offset = _mm256_or_si256(offset, _mm256_and_si256(digit, _mm256_set1_epi8(52 - '0')));
  offset = _mm256_or_si256(offset, _mm256_and_si256(plus, _mm256_set1_epi8(62 - '+')));
  offset = _mm256_or_si256(offset, _mm256_and_si256(slash, _mm256_set1_epi8(63 - '/')));
  const __m256i valid = _mm256_or_si256(_mm256_or_si256(upper, lower), _mm256_or_si256(_mm256_or_si256(digit, plus), slash));
  const __m256i value = _mm256_and_si256(_mm256_add_epi8(c, offset), valid);
  // Pairs of 6-bit values into 12 bits, pairs of those into the group's 24 bits.
  const __m256i pairs = _mm256_maddubs_epi16(value, _mm256_set1_epi32(0x01400140));
  const __m256i words = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
  // Three bytes of each word, most significant first, packed to the front of each lane,
  // then the two lanes' 12 bytes joined.
  const __m256i packed = _mm256_shuffle_epi8(words, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,  //
                                                                     2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
  const __m256i joined = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), joined);
}

// Decodes whole blocks of 32 characters from the front of the `have` in `stage` while
// dst has room for a 32-byte store; advances `out` and returns the characters done.
XPKIT_AVX2 inline std::size_t DecodeStage(const std::uint8_t* stage, std::size_t have, std::uint8_t* dst,
                                          std::size_t& out, std::size_t room) {
  std::size_t done = 0;
  for (; done + 32 <= have && out + 32 <= room; done += 32, out += 24) DecodeBlock(stage + done, dst + out);
  return done;
}

}  // namespace

XPKIT_AVX2 std::size_t EncodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  std::size_t at = 0;
  // A line is 19 groups: blocks of 8 groups at bytes 0, 24 and 33, the last one
  // overlapping the second; the block at 33 reads up to byte 61.
  for (; at + 61 <= n; at += 57, dst += 78) {
    EncodeBlock(src + at, dst);
    EncodeBlock(src + at + 24, dst + 32);
    EncodeBlock(src + at + 33, dst + 44);
    dst[76] = '\r';
    dst[77] = '\n';
  }
  return at;
}

XPKIT_AVX2 std::size_t EncodeFlat(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  std::size_t at = 0;
  for (; at + 28 <= n; at += 24, dst += 32) EncodeBlock(src + at, dst);  // each block reads 28 bytes
  return at;
}

XPKIT_AVX2 Progress DecodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room) {
  // Input blocks of 32 bytes go into `stage` without their CR and LF; once it holds a
  // batch, it is decoded 32 characters at a time. Batches keep the decoding loads clear
  // of the stores that just filled the stage.
  constexpr std::size_t kBatch = 512;
  alignas(32) std::uint8_t stage[kBatch + 64];
  const __m256i cr = _mm256_set1_epi8('\r'), lf = _mm256_set1_epi8('\n');
  std::size_t have = 0, at = 0, out = 0;
  while (at + 64 <= n) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + at));
    auto breaks = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, lf))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(stage + have), v);
    // After each break, the bytes that follow are stored again where the break was;
    // every store is a whole 32 bytes and the next one covers the excess.
    std::size_t from = 0;
    while (breaks != 0) {
      const auto pos = static_cast<std::size_t>(__builtin_ctz(breaks));
      breaks &= breaks - 1;
      have += pos - from;
      from = pos + 1;
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(stage + have),
                          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + at + from)));
    }
    have += 32 - from;
    at += 32;
    if (have < kBatch) continue;
    const std::size_t done = DecodeStage(stage, have, dst, out, room);
    have -= done;
    if (have >= 32) break;  // out of room
    _mm256_store_si256(reinterpret_cast<__m256i*>(stage), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(stage + done)));
  }
  have -= DecodeStage(stage, have, dst, out, room);
  return {GiveBack(src, at, have), out};
}

}  // namespace xpkit::base64::avx2

#else

namespace xpkit::base64::avx2 {
std::size_t EncodeLines(const std::uint8_t*, std::size_t, std::uint8_t*) { return 0; }
std::size_t EncodeFlat(const std::uint8_t*, std::size_t, std::uint8_t*) { return 0; }
Progress DecodeLines(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t) { return {}; }
}  // namespace xpkit::base64::avx2

#endif
