#include "xpkit/codecs/detail/TextBytesSimd.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <array>

#define XPKIT_AVX2 __attribute__((target("avx2,popcnt")))

namespace xpkit::textbytes::avx2 {
namespace {

// For each 8-bit mask of characters to keep, the byte shuffle that moves the kept
// 16-bit lanes of 8 to the front, in order.
struct Compact8 {
  std::array<std::array<std::uint8_t, 16>, 256> shuffle{};
  constexpr Compact8() {
    for (unsigned keep = 0; keep < 256; ++keep) {
      unsigned out = 0;
      for (unsigned lane = 0; lane < 8; ++lane) {
        if (!(keep & (1u << lane))) continue;
        shuffle[keep][2 * out] = static_cast<std::uint8_t>(2 * lane);
        shuffle[keep][2 * out + 1] = static_cast<std::uint8_t>(2 * lane + 1);
        ++out;
      }
      for (; out < 8; ++out) shuffle[keep][2 * out] = shuffle[keep][2 * out + 1] = 0x80;
    }
  }
};
alignas(16) constexpr Compact8 kCompact8{};

}  // namespace

XPKIT_AVX2 std::size_t ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
    if (_mm256_testz_si256(c, _mm256_set1_epi16(static_cast<short>(0xFF80)))) {  // all below 0x80
      const __m128i packed = _mm_packus_epi16(_mm256_castsi256_si128(c), _mm256_extracti128_si256(c, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i), packed);
      continue;
    }
    TableBytes16(text + i, bytes + i, codePage);
  }
  return i;
}

XPKIT_AVX2 std::size_t ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage) {
  const char16_t* table = codePage.charTable();
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
    if (_mm256_movemask_epi8(b) == 0) {  // all below 0x80
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(text + i), _mm256_cvtepu8_epi16(_mm256_castsi256_si128(b)));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(text + i + 16), _mm256_cvtepu8_epi16(_mm256_extracti128_si256(b, 1)));
      continue;
    }
    for (std::size_t k = i; k < i + 32; ++k) text[k] = table[bytes[k]];
  }
  return i;
}

XPKIT_AVX2 std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                                          std::size_t& kept) {
  const __m128i cr = _mm_set1_epi16('\r'), lf = _mm_set1_epi16('\n'), nonAscii = _mm_set1_epi16(0x80);
  std::size_t i = 0, k = 0;
  // Eight characters at a time; each store ends within the eight just read, since
  // dst + k <= text + i.
  for (; i + 8 <= n; i += 8) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi16(c, cr), _mm_cmpeq_epi16(c, lf));
    const auto keep = static_cast<unsigned>(~_mm_movemask_epi8(_mm_packs_epi16(breaks, breaks)) & 0xFF);
    const __m128i kept8 = _mm_shuffle_epi8(c, _mm_load_si128(reinterpret_cast<const __m128i*>(kCompact8.shuffle[keep].data())));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + k), kept8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(ascii + k), _mm_packus_epi16(_mm_min_epu16(kept8, nonAscii), kept8));
    k += static_cast<std::size_t>(_mm_popcnt_u32(keep));
  }
  kept = k;
  return i;
}

}  // namespace xpkit::textbytes::avx2

#else

namespace xpkit::textbytes::avx2 {
std::size_t ToBytes(const char16_t*, std::size_t, std::uint8_t*, const CodePage&) { return 0; }
std::size_t ToText(const std::uint8_t*, std::size_t, char16_t*, const CodePage&) { return 0; }
std::size_t StripBreaksToAscii(const char16_t*, std::size_t, char16_t*, std::uint8_t*, std::size_t& kept) {
  kept = 0;
  return 0;
}
}  // namespace xpkit::textbytes::avx2

#endif
