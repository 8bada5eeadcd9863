// The byte-buffer forms against the scalar kernel and the digit-text algorithm, on
// lengths around every block and line boundary of the vector kernels.
#include "codecs/Base64Bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codecs/Base64Avx2.h"
#include "codecs/Base64Kernel.h"
#include "codecs/b64.h"
#include "platform/CodePage.h"
#include "tests/codecs/Base64Reference.h"

namespace xpkit::base64 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Random(std::mt19937& rng, std::size_t n, const char* alphabet = nullptr) {
  Bytes b(n);
  const std::size_t k = alphabet ? std::char_traits<char>::length(alphabet) : 0;
  for (auto& c : b) c = static_cast<std::uint8_t>(alphabet ? alphabet[rng() % k] : rng());
  return b;
}

Bytes ScalarEncode(const Bytes& src) {
  Bytes out(EncodedLength(src.size()));
  Encode(src.size(), [&](std::size_t i) { return src[i]; }, out.data());
  return out;
}

Bytes ScalarDecode(const Bytes& clean) {
  Bytes out(DecodedLength(clean.data(), clean.size()));
  Decode(clean.data(), clean.size(), [&](std::size_t i, std::uint8_t b) { out[i] = b; });
  return out;
}

// Lengths that start, end and straddle the kernels' 57-byte lines and 32-byte blocks.
std::vector<std::size_t> Lengths(std::mt19937& rng) {
  std::vector<std::size_t> n;
  for (std::size_t i = 0; i <= 260; ++i) n.push_back(i);
  for (int i = 0; i < 40; ++i) n.push_back(rng() % 20000);
  return n;
}

TEST(Base64Bytes, EncodeEqualsTheScalarKernelAndTheDigitAlgorithm) {
  std::mt19937 rng(11);
  for (std::size_t n : Lengths(rng)) {
    const Bytes src = Random(rng, n);
    Bytes out(EncodedLength(n), 0xEE);
    EncodeBytes(src.data(), n, out.data());
    ASSERT_EQ(out, ScalarEncode(src)) << "length " << n;
  }
  const Bytes big = Random(rng, 100'003);
  Bytes out(EncodedLength(big.size()));
  EncodeBytes(big.data(), big.size(), out.data());
  const std::u16string text = SystemCodePage().Decode({reinterpret_cast<const char*>(big.data()), big.size()});
  EXPECT_EQ(SystemCodePage().Encode(reference::Encode(text)), std::string(out.begin(), out.end()));
  // The text form of a long input, whose result is allocated apart, agrees too.
  const Bytes large = Random(rng, (3 << 20) + 1);
  out.resize(EncodedLength(large.size()));
  EncodeBytes(large.data(), large.size(), out.data());
  const std::u16string encoded = b64().encode(SystemCodePage().Decode({reinterpret_cast<const char*>(large.data()), large.size()}));
  EXPECT_EQ(SystemCodePage().Encode(encoded), std::string(out.begin(), out.end()));
}

TEST(Base64Bytes, DecodeOfAnyBytesEqualsTheScalarKernelAndTheDigitAlgorithm) {
  std::mt19937 rng(12);
  for (std::size_t n : Lengths(rng)) {
    // Mostly alphabet with every other byte value mixed in, and "=" endings.
    Bytes clean = Random(rng, n, "ABCXYZabcxyz0189+/=");
    for (auto& c : clean)
      if (rng() % 5 == 0) c = static_cast<std::uint8_t>(rng());
    if (n > 2 && rng() % 2) clean[n - 1] = '=';
    if (n > 2 && rng() % 3 == 0) clean[n - 2] = '=';
    Bytes out(DecodedLength(clean.data(), n) + 3, 0xEE);
    const std::size_t m = DecodeBytes(clean.data(), n, out.data());
    out.resize(m);
    ASSERT_EQ(out, ScalarDecode(clean)) << "length " << n;
  }
  // Every byte value in every position of a group goes through the vector blocks.
  Bytes all;
  for (int round = 0; round < 4; ++round)
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<std::uint8_t>((c * 7 + round * 61) & 0xFF));
  Bytes out(all.size() / 4 * 3), expected(out.size());
  DecodeGroupBytes(all.data(), all.size() / 4, out.data());
  DecodeGroups(all.data(), all.size() / 4, [&](std::size_t i, std::uint8_t b) { expected[i] = b; });
  EXPECT_EQ(out, expected);
  // A long text of any bytes, line breaks stripped first, as the digit algorithm reads it.
  const Bytes big = Random(rng, 50'001);
  Bytes clean(big.size());
  clean.resize(StripLineBreaks(big.data(), big.size(), clean.data()));
  out.assign(DecodedLength(clean.data(), clean.size()), 0);
  DecodeBytes(clean.data(), clean.size(), out.data());
  std::u16string text = SystemCodePage().Decode({reinterpret_cast<const char*>(big.data()), big.size()});
  EXPECT_EQ(SystemCodePage().Encode(reference::Decode(text)), std::string(out.begin(), out.end()));
}

TEST(Base64Bytes, StripLineBreaksKeepsEveryOtherByteInOrder) {
  std::mt19937 rng(13);
  for (std::size_t n : Lengths(rng)) {
    // Dense and sparse breaks, runs of them, and breaks at block edges.
    const char* mix = n % 3 == 0 ? "\r\n\r\nab" : n % 3 == 1 ? "abcdefghijklmnopqrstuvwxyz\r\n" : "\r";
    const Bytes src = Random(rng, n, mix);
    Bytes expected;
    for (auto c : src)
      if (c != '\r' && c != '\n') expected.push_back(c);
    Bytes out(n, 0xEE);
    out.resize(StripLineBreaks(src.data(), n, out.data()));
    ASSERT_EQ(out, expected) << "length " << n;
  }
}

TEST(Base64Bytes, VectorKernelsStopShortOfTheBufferEnds) {
  if (!avx2::Supported()) GTEST_SKIP() << "no AVX2 on this CPU";
  std::mt19937 rng(14);
  const Bytes src = Random(rng, 2 * 57 + 3);
  Bytes dst(EncodedLength(src.size()));
  EXPECT_EQ(avx2::EncodeLines(src.data(), 60, dst.data()), 0u);  // the third block reads 61 bytes
  EXPECT_EQ(avx2::EncodeLines(src.data(), src.size(), dst.data()), 57u);
  EXPECT_EQ(avx2::DecodeGroups(src.data(), 10, dst.data()), 0u);  // 32-byte stores need 11 groups
  EXPECT_EQ(avx2::DecodeGroups(src.data(), 27, dst.data()), 24u);
  std::size_t consumed = 0;
  avx2::StripLineBreaks(src.data(), 63, dst.data(), consumed);
  EXPECT_EQ(consumed, 0u);
  avx2::StripLineBreaks(src.data(), 100, dst.data(), consumed);
  EXPECT_EQ(consumed, 64u);
}

}  // namespace
}  // namespace xpkit::base64
