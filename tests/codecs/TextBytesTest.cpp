// The text conversions of every kernel this CPU runs against the scalar ones: every
// character and byte value in every vector lane, both code pages, every length up to
// 300, and buffers that end at an unmapped page.
#include "xpkit/codecs/detail/TextBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/codecs/CodecKernel.h"
#include "codecs/CodecTestSupport.h"

namespace xpkit::textbytes {
namespace {

using xpkit::testing::Guarded;
using xpkit::testing::KernelsThisCpuRuns;

// Characters of every kind: ASCII, CR and LF, code page characters, unmapped ones,
// and the ends of the 16-bit range.
std::u16string Mixed(std::mt19937& rng, std::size_t n, const CodePage& cp) {
  std::u16string t(n, u'\0');
  for (auto& c : t) {
    const unsigned r = rng() % 6;
    c = r == 0 ? static_cast<char16_t>(rng() % 0x80)
        : r == 1 ? cp.ToChar(static_cast<std::uint8_t>(rng()))
        : r == 2 ? static_cast<char16_t>(rng())
        : r == 3 ? u"\r\n\xFFFF\x0080\x007F\x0100\x013D"[rng() % 7]
                 : static_cast<char16_t>('A' + rng() % 26);
  }
  return t;
}

TEST(TextBytes, ToBytesEqualsTheScalarConversionForEveryCharacter) {
  for (int number : {1252, 1256}) {
    const CodePage& cp = CodePage::Get(number);
    std::u16string all(0x10000 + 7, u'\0');  // odd length: every character in every lane over 2 rounds
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char16_t>(i * 40503u);
    std::string expected(all.size(), '\0');
    for (std::size_t i = 0; i < all.size(); ++i) expected[i] = static_cast<char>(cp.ToByte(all[i]));
    for (CodecKernel kernel : KernelsThisCpuRuns()) {
      Guarded<char16_t> in(all);
      Guarded<std::uint8_t> out(all.size());
      ToBytes(in.data(), in.size(), out.data(), cp, CodecKernels::Of(kernel));
      ASSERT_EQ(std::string(reinterpret_cast<char*>(out.data()), out.size()), expected) << number << " " << Name(kernel);
    }
  }
}

TEST(TextBytes, ToTextEqualsTheScalarConversionForEveryByte) {
  std::mt19937 rng(21);
  for (int number : {1252, 1256}) {
    const CodePage& cp = CodePage::Get(number);
    for (std::size_t n = 0; n <= 300; ++n) {
      std::vector<std::uint8_t> bytes(n);
      for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(n % 3 == 0 ? rng() % 0x80 : rng());
      if (n == 300)  // each value in each of 64 lanes
        for (int v = 0; v < 256 * 65; ++v) bytes.push_back(static_cast<std::uint8_t>(v));
      for (CodecKernel kernel : KernelsThisCpuRuns()) {
        Guarded<std::uint8_t> in(bytes);
        Guarded<char16_t> out(bytes.size());
        ToText(in.data(), in.size(), out.data(), cp, CodecKernels::Of(kernel));
        for (std::size_t i = 0; i < bytes.size(); ++i)
          ASSERT_EQ(out.data()[i], cp.ToChar(bytes[i])) << number << " " << Name(kernel) << ", length " << n << " at " << i;
      }
    }
  }
}

TEST(TextBytes, StripBreaksToAsciiInPlaceAndApart) {
  std::mt19937 rng(22);
  const CodePage& cp = CodePage::Get(1256);
  for (CodecKernel kernel : KernelsThisCpuRuns())
    for (std::size_t n = 0; n <= 330; n += (n < 300 ? 1 : 7)) {
      const std::u16string text = Mixed(rng, n, cp);
      std::u16string kept;
      std::string ascii;
      for (char16_t c : text)
        if (c != u'\r' && c != u'\n') {
          kept += c;
          ascii += static_cast<char>(c < 0x80 ? c : 0x80);
        }
      Guarded<char16_t> in(text), apart(n);
      Guarded<std::uint8_t> bytes(n);
      const std::size_t m = StripBreaksToAscii(in.data(), n, apart.data(), bytes.data(), CodecKernels::Of(kernel));
      ASSERT_EQ(std::u16string(apart.data(), m), kept) << Name(kernel) << ", length " << n;
      ASSERT_EQ(std::string(reinterpret_cast<char*>(bytes.data()), m), ascii) << Name(kernel) << ", length " << n;
      ASSERT_EQ(StripBreaksToAscii(in.data(), n, in.data(), bytes.data(), CodecKernels::Of(kernel)), m);
      ASSERT_EQ(std::u16string(in.data(), m), kept) << Name(kernel) << " in place, length " << n;
    }
}

TEST(TextBytes, TheKernelSwitchForcesASlowerKernel) {
  const char* old = std::getenv("XPKIT_CODEC_KERNEL");
  const std::string saved = old ? old : "";
  ::setenv("XPKIT_CODEC_KERNEL", "scalar", 1);
  EXPECT_EQ(CodecKernels::FromEnvironment().kernel, CodecKernel::Scalar);
  ::setenv("XPKIT_CODEC_KERNEL", "avx2", 1);
  EXPECT_EQ(CodecKernels::FromEnvironment().kernel, CpuRuns(CodecKernel::Avx2) ? CodecKernel::Avx2 : CodecKernel::Scalar);
  ::setenv("XPKIT_CODEC_KERNEL", "avx512", 1);
  EXPECT_EQ(&CodecKernels::FromEnvironment(), &CodecKernels::Fastest());
  ::setenv("XPKIT_CODEC_KERNEL", "sse9", 1);
  try {
    CodecKernels::FromEnvironment();
    ADD_FAILURE() << "an unknown kernel name is refused";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::BadUsage);
    EXPECT_NE(std::string(e.what()).find("sse9"), std::string::npos);
  }
  if (old) ::setenv("XPKIT_CODEC_KERNEL", saved.c_str(), 1);
  else ::unsetenv("XPKIT_CODEC_KERNEL");
}

}  // namespace
}  // namespace xpkit::textbytes
