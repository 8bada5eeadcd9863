// The Base64 byte kernels (scalar, AVX2, AVX-512, as many as this CPU runs) against the
// scalar reference and against each other: every length from 0 to 300 and random ones,
// every byte value in every position, line breaks at every offset of a block, junk,
// "=" anywhere, padding followed by blank lines, other line formats, and buffers that end
// at an unmapped page.
#include "xpkit/codecs/Base64Bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/detail/Base64Pieces.h"
#include "xpkit/codepage/CodePage.h"
#include "codecs/Base64Reference.h"
#include "codecs/CodecTestSupport.h"

namespace xpkit::base64 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using xpkit::testing::Guarded;
using xpkit::testing::KernelsThisCpuRuns;

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

// The reference: strip every CR and LF, then decode the cleaned text.
Bytes ScalarDecode(const Bytes& text) {
  Bytes clean;
  for (auto c : text)
    if (c != '\r' && c != '\n') clean.push_back(c);
  Bytes out(DecodedLength(clean.data(), clean.size()));
  Decode(clean.data(), clean.size(), [&](std::size_t i, std::uint8_t b) { out[i] = b; });
  return out;
}

// Decodes with `kernel` from a buffer that ends at an unmapped page into one of exactly
// DecodeRoom(n) bytes that does too.
Bytes KernelDecode(const Bytes& text, CodecKernel kernel) {
  Guarded<std::uint8_t> in(text), out(DecodeRoom(text.size()));
  const std::size_t m = DecodeBytes(in.data(), in.size(), out.data(), CodecKernels::Of(kernel));
  return Bytes(out.data(), out.data() + m);
}

// Lengths 0 to 300, which start, end and straddle every block and line of the vector
// kernels, and random ones.
std::vector<std::size_t> Lengths(std::mt19937& rng) {
  std::vector<std::size_t> n;
  for (std::size_t i = 0; i <= 300; ++i) n.push_back(i);
  for (int i = 0; i < 30; ++i) n.push_back(rng() % 20000);
  return n;
}

// A mostly valid text of `n` characters: the alphabet with "=", junk bytes, spaces and
// line breaks of every kind mixed in at random, and sometimes a padded end.
Bytes Messy(std::mt19937& rng, std::size_t n) {
  Bytes t = Random(rng, n, "ABCXYZabcxyz0189+/");
  for (auto& c : t) {
    const unsigned r = rng() % 40;
    if (r == 0) c = static_cast<std::uint8_t>(rng());
    else if (r == 1) c = '=';
    else if (r == 2) c = ' ';
    else if (r == 3) c = '\r';
    else if (r == 4) c = '\n';
  }
  // Sometimes a padded end, sometimes followed by blank lines.
  const std::size_t blank = n > 8 && rng() % 4 == 0 ? 1 + rng() % 6 : 0;
  for (std::size_t i = n - blank; i < n; ++i) t[i] = "\r\n"[i % 2];
  if (n > blank + 2 && rng() % 2) t[n - blank - 1] = '=';
  if (n > blank + 2 && rng() % 3 == 0) t[n - blank - 2] = '=';
  return t;
}

TEST(Base64Kernels, EncodeEqualsTheScalarKernelAtEveryLength) {
  std::mt19937 rng(11);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t n : Lengths(rng)) {
      const Bytes src = Random(rng, n);
      Guarded<std::uint8_t> in(src), out(EncodedLength(n));
      EncodeBytes(in.data(), n, out.data(), CodecKernels::Of(kernel));
      ASSERT_EQ(Bytes(out.data(), out.data() + out.size()), ScalarEncode(src)) << Name(kernel) << ", length " << n;
    }
}

TEST(Base64Kernels, EncodeTakesEveryByteValueInEveryPosition) {
  // 3 * 256 + 1 bytes: each value lands in each of the three places of a group, and the
  // line's 19 groups move it through every place in the vector blocks.
  Bytes src;
  for (int round = 0; round < 3 * 19; ++round)
    for (int b = 0; b < 256; ++b) src.push_back(static_cast<std::uint8_t>(b + round));
  for (CodecKernel kernel : KernelsThisCpuRuns()) {
    Bytes out(EncodedLength(src.size()));
    EncodeBytes(src.data(), src.size(), out.data(), CodecKernels::Of(kernel));
    ASSERT_EQ(out, ScalarEncode(src)) << Name(kernel);
  }
  // The scalar kernel itself against the digit algorithm.
  const std::u16string text = SystemCodePage().Decode({reinterpret_cast<const char*>(src.data()), src.size()});
  const Bytes expected = ScalarEncode(src);
  EXPECT_EQ(SystemCodePage().Encode(reference::Encode(text)), std::string(expected.begin(), expected.end()));
}

// The default form's characters cut into lines of `length` (0: none), each full line
// followed by CR LF or LF: what every line format must give.
Bytes Rewrapped(const Bytes& standard, std::size_t length, bool crlf) {
  Bytes out;
  std::size_t column = 0;
  for (auto c : standard) {
    if (c == '\r' || c == '\n') continue;
    out.push_back(c);
    if (length == 0 || ++column < length) continue;
    if (crlf) out.push_back('\r');
    out.push_back('\n');
    column = 0;
  }
  return out;
}

TEST(Base64Kernels, EveryLineFormatCutsTheSameCharacters) {
  // Widths that split groups, hold whole ones, and the default's; lengths that start,
  // end and straddle every block of the vector kernels.
  std::mt19937 rng(16);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t length : {0, 1, 4, 5, 64, 76, 77})
      for (bool crlf : {true, false})
        for (std::size_t n = 0; n <= 160; ++n) {
          const LineFormat lines{length, crlf};
          const Bytes src = Random(rng, n);
          Guarded<std::uint8_t> in(src), out(EncodedLength(n, lines));
          EncodeBytes(in.data(), n, out.data(), lines, CodecKernels::Of(kernel));
          ASSERT_EQ(Bytes(out.data(), out.data() + out.size()), Rewrapped(ScalarEncode(src), length, crlf))
              << Name(kernel) << ", lines of " << length << (crlf ? " CR LF" : " LF") << ", length " << n;
        }
}

TEST(Base64Kernels, LinesRunOnFromPieceToPiece) {
  std::mt19937 rng(17);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (int round = 0; round < 100; ++round) {
      const LineFormat lines{std::size_t{rng() % 3 == 0 ? 76u : rng() % 90}, rng() % 2 == 0};
      const Bytes src = Random(rng, rng() % 4000);
      LineEncoder encoder(lines, CodecKernels::Of(kernel));
      Bytes got;
      for (std::size_t at = 0; at < src.size();) {
        // Pieces of whole groups, some of whole default lines, and the rest.
        const std::size_t piece = rng() % 2 ? 57 * (rng() % 4) : 3 * (rng() % 40);
        const std::size_t n = std::min(piece, src.size() - at);
        Guarded<std::uint8_t> out(encoder.Room(n));
        ASSERT_EQ(encoder.Encode(src.data() + at, n, out.data()), out.size());
        got.insert(got.end(), out.data(), out.data() + out.size());
        at += n;
      }
      ASSERT_EQ(got, Rewrapped(ScalarEncode(src), lines.length, lines.crlf))
          << Name(kernel) << ", round " << round << ", lines of " << lines.length;
      ASSERT_EQ(got.size(), EncodedLength(src.size(), lines));
    }
}

TEST(Base64Kernels, DecodeEqualsTheScalarKernelOnMessyTexts) {
  std::mt19937 rng(12);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t n : Lengths(rng)) {
      const Bytes text = Messy(rng, n);
      ASSERT_EQ(KernelDecode(text, kernel), ScalarDecode(text)) << Name(kernel) << ", length " << n;
    }
  // The scalar reference against the digit algorithm, on a long messy text.
  const Bytes big = Messy(rng, 50'001);
  const Bytes out = ScalarDecode(big);
  std::u16string text = SystemCodePage().Decode({reinterpret_cast<const char*>(big.data()), big.size()});
  EXPECT_EQ(SystemCodePage().Encode(reference::Decode(text)), std::string(out.begin(), out.end()));
}

TEST(Base64Kernels, DecodeTakesEveryByteValueInEveryPosition) {
  // Every value in each of the 64 places of a vector block, which moves through the
  // four places of a group; CR and LF among them shift everything after them.
  for (CodecKernel kernel : KernelsThisCpuRuns()) {
    for (int shift = 0; shift < 64; ++shift) {
      Bytes text;
      for (int b = 0; b < 256 * 4; ++b) text.push_back(static_cast<std::uint8_t>(b * 67 + shift));
      ASSERT_EQ(KernelDecode(text, kernel), ScalarDecode(text)) << Name(kernel) << ", shift " << shift;
    }
  }
}

TEST(Base64Kernels, LineBreaksAtEveryOffsetOfABlock) {
  std::mt19937 rng(13);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t at = 0; at < 130; ++at)
      for (const char* brk : {"\r\n", "\n", "\r", "\r\n\r\n", "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"}) {
        // One break at `at`, lines of `at` characters, and runs of breaks longer than a block.
        Bytes one = Random(rng, 400, "QUJDRA+/09az");
        one.insert(one.begin() + static_cast<std::ptrdiff_t>(at), brk, brk + std::strlen(brk));
        ASSERT_EQ(KernelDecode(one, kernel), ScalarDecode(one)) << Name(kernel) << ", at " << at << ", " << std::strlen(brk);
        Bytes lines;
        for (int line = 0; line < 8; ++line) {
          const Bytes chars = Random(rng, at + 1, "QUJDRA+/09az");
          lines.insert(lines.end(), chars.begin(), chars.end());
          lines.insert(lines.end(), brk, brk + std::strlen(brk));
        }
        ASSERT_EQ(KernelDecode(lines, kernel), ScalarDecode(lines)) << Name(kernel) << ", lines of " << at + 1;
      }
}

TEST(Base64Kernels, BlankLinesAfterThePaddingLeaveItTheEnd) {
  // The encoded form of every length up to 300, then runs of breaks up to longer than a
  // block: each decodes to the bytes it came from.
  std::mt19937 rng(15);
  std::string longRun;
  for (int i = 0; i < 40; ++i) longRun += "\r\n";
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t n = 0; n <= 300; ++n) {
      const Bytes src = Random(rng, n);
      for (const std::string& blank : {std::string("\r\n"), std::string("\r\n\r\n"), std::string("\n\n\r"), longRun}) {
        Bytes text = ScalarEncode(src);
        text.insert(text.end(), blank.begin(), blank.end());
        ASSERT_EQ(KernelDecode(text, kernel), src) << Name(kernel) << ", length " << n << ", " << blank.size();
      }
    }
}

TEST(Base64Kernels, TextsOfNothingButBreaksOrPadding) {
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t n : {0, 1, 63, 64, 65, 200, 1000}) {
      for (const char* fill : {"\r\n", "=", "= \r"}) {
        Bytes text;
        for (std::size_t i = 0; i < n; ++i) text.push_back(static_cast<std::uint8_t>(fill[i % std::strlen(fill)]));
        ASSERT_EQ(KernelDecode(text, kernel), ScalarDecode(text)) << Name(kernel) << ", " << n;
      }
    }
}

TEST(Base64Kernels, DecodingInPiecesEqualsDecodingWhole) {
  std::mt19937 rng(14);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (int round = 0; round < 200; ++round) {
      const Bytes text = Messy(rng, rng() % 3000);
      const std::size_t capacity = 1 + rng() % 300;
      PieceDecoder decoder(capacity, CodecKernels::Of(kernel));
      Bytes out(decoder.outputRoom()), got;
      for (std::size_t at = 0;;) {
        const std::size_t n = std::min(text.size() - at, std::size_t(rng() % (capacity + 1)));
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(at), text.begin() + static_cast<std::ptrdiff_t>(at + n), decoder.piece());
        at += n;
        const bool last = at == text.size() && rng() % 2;  // an empty last piece too
        const std::size_t m = decoder.Decode(n, last, out.data());
        got.insert(got.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(m));
        if (last) break;
      }
      ASSERT_EQ(got, ScalarDecode(text)) << Name(kernel) << ", round " << round;
    }
}

}  // namespace
}  // namespace xpkit::base64
