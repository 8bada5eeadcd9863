#include "xpkit/codecs/detail/TextBytesSimd.h"

#include "xpkit/codecs/detail/Avx512.h"

#if defined(__x86_64__)
#include <array>

namespace xpkit::textbytes::avx512 {
namespace {

// Byte i of each half of the result is the low byte, byte i + 1 the high byte of a
// character: lane 2i takes lane i of the first table, lane 2i + 1 lane i of the second.
constexpr std::array<std::uint8_t, 64> Interleave(std::uint8_t first) {
  std::array<std::uint8_t, 64> idx{};
  for (std::uint8_t i = 0; i < 32; ++i) {
    idx[2 * i] = static_cast<std::uint8_t>(first + i);
    idx[2 * i + 1] = static_cast<std::uint8_t>(64 + first + i);
  }
  return idx;
}
alignas(64) constexpr auto kInterleaveLow = Interleave(0);
alignas(64) constexpr auto kInterleaveHigh = Interleave(32);

// The low (shift 0) or high (shift 8) bytes of the characters of bytes 0x80..0xFF,
// as two 64-entry tables for a 128-entry byte permute.
XPKIT_AVX512 inline void HighCharBytes(const char16_t* chars, int shift, __m512i& first, __m512i& second) {
  __m512i part[4];
  for (int k = 0; k < 4; ++k)
    part[k] = _mm512_srli_epi16(_mm512_loadu_si512(chars + 0x80 + 32 * k), static_cast<unsigned>(shift));
  first = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi16_epi8(part[0])), _mm512_cvtepi16_epi8(part[1]), 1);
  second = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi16_epi8(part[2])), _mm512_cvtepi16_epi8(part[3]), 1);
}

}  // namespace

XPKIT_AVX512 std::size_t ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage) {
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m512i c = _mm512_loadu_si512(text + i);
    if (_mm512_cmpge_epu16_mask(c, _mm512_set1_epi16(0x80)) == 0) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + i), _mm512_cvtepi16_epi8(c));
      continue;
    }
    // A table read each: AVX-512 gathers, and byte permutes over the code page's
    // pages, measured slower than this on the CPUs we have.
    TableBytes16(text + i, bytes + i, codePage);
    TableBytes16(text + i + 16, bytes + i + 16, codePage);
  }
  return i;
}

XPKIT_AVX512 std::size_t ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage) {
  __m512i low0, low1, high0, high1;
  HighCharBytes(codePage.charTable(), 0, low0, low1);
  HighCharBytes(codePage.charTable(), 8, high0, high1);
  const __m512i first = _mm512_load_si512(kInterleaveLow.data()), second = _mm512_load_si512(kInterleaveHigh.data());
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    const __m512i b = _mm512_loadu_si512(bytes + i);
    const __mmask64 high = _mm512_movepi8_mask(b);
    if (high == 0) {
      _mm512_storeu_si512(text + i, _mm512_cvtepu8_epi16(_mm512_castsi512_si256(b)));
      _mm512_storeu_si512(text + i + 32, _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(b, 1)));
      continue;
    }
    // Below 0x80 a byte is its own character: low byte itself, high byte 0.
    const __m512i lo = _mm512_mask2_permutex2var_epi8(low0, b, high, low1);
    const __m512i hi = _mm512_maskz_permutex2var_epi8(high, high0, b, high1);
    _mm512_storeu_si512(text + i, _mm512_permutex2var_epi8(lo, first, hi));
    _mm512_storeu_si512(text + i + 32, _mm512_permutex2var_epi8(lo, second, hi));
  }
  return i;
}

XPKIT_AVX512 std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                                            std::size_t& kept) {
  const __m512i cr = _mm512_set1_epi16('\r'), lf = _mm512_set1_epi16('\n'), nonAscii = _mm512_set1_epi16(0x80);
  std::size_t i = 0, k = 0;
  // Each store ends within the 32 characters just read, since dst + k <= text + i.
  for (; i + 32 <= n; i += 32) {
    const __m512i c = _mm512_loadu_si512(text + i);
    const __mmask32 keep = ~(_mm512_cmpeq_epi16_mask(c, cr) | _mm512_cmpeq_epi16_mask(c, lf));
    const __m512i kept32 = _mm512_maskz_compress_epi16(keep, c);
    _mm512_storeu_si512(dst + k, kept32);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(ascii + k), _mm512_cvtepi16_epi8(_mm512_min_epu16(kept32, nonAscii)));
    k += static_cast<std::size_t>(_mm_popcnt_u32(keep));
  }
  kept = k;
  return i;
}

}  // namespace xpkit::textbytes::avx512

#else

namespace xpkit::textbytes::avx512 {
std::size_t ToBytes(const char16_t*, std::size_t, std::uint8_t*, const CodePage&) { return 0; }
std::size_t ToText(const std::uint8_t*, std::size_t, char16_t*, const CodePage&) { return 0; }
std::size_t StripBreaksToAscii(const char16_t*, std::size_t, char16_t*, std::uint8_t*, std::size_t& kept) {
  kept = 0;
  return 0;
}
}  // namespace xpkit::textbytes::avx512

#endif
