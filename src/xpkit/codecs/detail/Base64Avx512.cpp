#include "xpkit/codecs/detail/Base64Avx512.h"

#include "xpkit/codecs/detail/Avx512.h"

#if defined(__x86_64__)
#include <array>

namespace xpkit::base64::avx512 {
namespace {

using Bytes64 = std::array<std::uint8_t, 64>;

// Encoding a group a b c: its bytes gathered as b a c b in each 32-bit word, so that the
// four 6-bit indices start at bits 10, 4, 22 and 16 of the word.
constexpr Bytes64 GroupBytes(std::size_t firstByte, std::size_t groups) {
  Bytes64 idx{};
  for (std::size_t g = 0; g < groups; ++g) {
    const auto at = static_cast<std::uint8_t>(firstByte + 3 * g);
    idx[4 * g] = static_cast<std::uint8_t>(at + 1);
    idx[4 * g + 1] = at;
    idx[4 * g + 2] = static_cast<std::uint8_t>(at + 2);
    idx[4 * g + 3] = static_cast<std::uint8_t>(at + 1);
  }
  return idx;
}
alignas(64) constexpr Bytes64 kFirst16Groups = GroupBytes(0, 16);  // line bytes 0..47
alignas(64) constexpr Bytes64 kLast3Groups = GroupBytes(48, 3);    // line bytes 48..56

constexpr Bytes64 Alphabet() {
  Bytes64 a{};
  for (std::size_t i = 0; i < 64; ++i) a[i] = static_cast<std::uint8_t>(kAlphabet[i]);
  return a;
}
alignas(64) constexpr Bytes64 kAlphabetBytes = Alphabet();

// Values of the characters 0..127, split in two halves; 0 outside the alphabet.
constexpr Bytes64 Values(std::size_t from) {
  Bytes64 v{};
  for (std::size_t i = 0; i < 64; ++i) v[i] = static_cast<std::uint8_t>(kDecode.v[from + i]);
  return v;
}
alignas(64) constexpr Bytes64 kValuesLow = Values(0);
alignas(64) constexpr Bytes64 kValuesHigh = Values(64);

// The three bytes of each 24-bit word, most significant first, packed to the front.
constexpr Bytes64 PackWords() {
  Bytes64 idx{};
  for (std::size_t w = 0; w < 16; ++w)
    for (std::size_t k = 0; k < 3; ++k) idx[3 * w + k] = static_cast<std::uint8_t>(4 * w + 2 - k);
  return idx;
}
alignas(64) constexpr Bytes64 kPackWords = PackWords();

constexpr Bytes64 Iota() {
  Bytes64 i{};
  for (std::size_t k = 0; k < 64; ++k) i[k] = static_cast<std::uint8_t>(k);
  return i;
}
alignas(64) constexpr Bytes64 kIota = Iota();

XPKIT_AVX512 inline __m512i Load(const Bytes64& table) { return _mm512_load_si512(table.data()); }

// The characters of the groups that `gather` picks out of `bytes`.
XPKIT_AVX512 inline __m512i EncodeGroups(__m512i bytes, __m512i gather, __m512i alphabet) {
  const __m512i words = _mm512_permutexvar_epi8(gather, bytes);
  const __m512i shifts = _mm512_set1_epi64(0x3036242A1016040A);  // 10, 4, 22, 16 and each + 32
  return _mm512_permutexvar_epi8(_mm512_multishift_epi64_epi8(shifts, words), alphabet);  // low 6 bits index
}

// 64 characters into their 48 bytes, at the front of the result. A character outside
// the alphabet, "=" and bytes from 0x80 up included, counts as 0.
XPKIT_AVX512 inline __m512i DecodeBlock(__m512i c, __m512i valuesLow, __m512i valuesHigh, __m512i pack) {
  const __m512i value = _mm512_maskz_permutex2var_epi8(~_mm512_movepi8_mask(c), valuesLow, c, valuesHigh);
  const __m512i pairs = _mm512_maddubs_epi16(value, _mm512_set1_epi32(0x01400140));  // 12 bits each
  const __m512i words = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));     // 24 bits each
  return _mm512_permutexvar_epi8(pack, words);
}

}  // namespace

XPKIT_AVX512 std::size_t EncodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  const __m512i alphabet = Load(kAlphabetBytes), first = Load(kFirst16Groups), last = Load(kLast3Groups);
  const __m512i crlf = _mm512_set1_epi16(0x0A0D);
  // A line is 57 bytes, read as 64, and 78 characters, stored as 64 and 64: the 50
  // characters too many are covered by what follows, as long as 37 more bytes (13
  // groups) follow the line. The last lines load and store under masks.
  std::size_t at = 0;
  for (; at + 57 + 37 <= n; at += 57, dst += 78) {
    const __m512i line = _mm512_loadu_si512(src + at);
    _mm512_storeu_si512(dst, EncodeGroups(line, first, alphabet));
    _mm512_storeu_si512(dst + 64, _mm512_mask_mov_epi8(EncodeGroups(line, last, alphabet), __mmask64{3} << 12, crlf));
  }
  for (; at + 57 <= n; at += 57, dst += 78) {
    const __m512i line = _mm512_maskz_loadu_epi8((__mmask64{1} << 57) - 1, src + at);
    _mm512_storeu_si512(dst, EncodeGroups(line, first, alphabet));
    // Characters 64..75, then CR LF at 76 and 77.
    const __m512i tail = _mm512_mask_mov_epi8(EncodeGroups(line, last, alphabet), __mmask64{3} << 12, crlf);
    _mm512_mask_storeu_epi8(dst + 64, (__mmask64{1} << 14) - 1, tail);
  }
  return at;
}

XPKIT_AVX512 std::size_t EncodeFlat(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
  const __m512i alphabet = Load(kAlphabetBytes), first = Load(kFirst16Groups);
  // 16 groups at a time, read as 64 bytes while that many are there.
  std::size_t at = 0;
  for (; at + 64 <= n; at += 48, dst += 64) _mm512_storeu_si512(dst, EncodeGroups(_mm512_loadu_si512(src + at), first, alphabet));
  return at;
}

XPKIT_AVX512 Progress DecodeLines(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room) {
  const __m512i valuesLow = Load(kValuesLow), valuesHigh = Load(kValuesHigh), pack = Load(kPackWords);
  const __m512i iota = Load(kIota), cr = _mm512_set1_epi8('\r'), lf = _mm512_set1_epi8('\n');
  // `pending` holds `have` (< 64) characters, breaks removed, not yet decoded.
  __m512i pending = _mm512_setzero_si512();
  std::size_t have = 0, at = 0, out = 0;
  for (; at + 64 <= n && out + 64 <= room; at += 64) {
    const __m512i c = _mm512_loadu_si512(src + at);
    const __mmask64 keep = ~(_mm512_cmpeq_epi8_mask(c, cr) | _mm512_cmpeq_epi8_mask(c, lf));
    const __m512i kept = _mm512_maskz_compress_epi8(keep, c);
    const std::size_t total = have + static_cast<std::size_t>(_mm_popcnt_u64(keep));
    // Lanes from `have` on take the kept characters; indices work modulo 64.
    const __m512i shift = _mm512_set1_epi8(static_cast<char>(have));
    const __m512i joined = _mm512_mask_permutexvar_epi8(pending, ~__mmask64{0} << have, _mm512_sub_epi8(iota, shift), kept);
    if (total < 64) {
      pending = joined;
      have = total;
      continue;
    }
    _mm512_storeu_si512(dst + out, DecodeBlock(joined, valuesLow, valuesHigh, pack));
    out += 48;
    pending = _mm512_permutexvar_epi8(_mm512_add_epi8(iota, _mm512_sub_epi8(_mm512_set1_epi8(64), shift)), kept);
    have = total - 64;
  }
  return {GiveBack(src, at, have), out};
}

}  // namespace xpkit::base64::avx512

#else

namespace xpkit::base64::avx512 {
std::size_t EncodeLines(const std::uint8_t*, std::size_t, std::uint8_t*) { return 0; }
std::size_t EncodeFlat(const std::uint8_t*, std::size_t, std::uint8_t*) { return 0; }
Progress DecodeLines(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t) { return {}; }
}  // namespace xpkit::base64::avx512

#endif
