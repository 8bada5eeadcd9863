#include "xpkit/codecs/RC4_Calc.h"

#include <gtest/gtest.h>

#include <random>

#include "xpkit/Error.h"
#include "xpkit/codepage/CodePage.h"

namespace xpkit {
namespace {

std::u16string Chars(const std::string& bytes) { return SystemCodePage().Decode(bytes); }

TEST(RC4, PublishedVectors) {
  EXPECT_EQ(RC4_Calc::rc4crypt(u"Plaintext", u"Key"), Chars("\xBB\xF3\x16\xE8\xD9\x40\xAF\x0A\xD3"));
  EXPECT_EQ(RC4_Calc::rc4crypt(u"pedia", u"Wiki"), Chars("\x10\x21\xBF\x04\x20"));
  EXPECT_EQ(RC4_Calc::rc4crypt(u"Attack at dawn", u"Secret"),
            Chars("\x45\xA0\x1F\x64\x5F\xC3\x5B\x38\x35\x52\x54\x4B\x9B\xF5"));
  // RFC 6229, 40-bit key 0102030405: the first keystream bytes.
  const std::u16string zeros(16, u'\0');
  EXPECT_EQ(RC4_Calc::rc4crypt(zeros, Chars("\x01\x02\x03\x04\x05")),
            Chars("\xb2\x39\x63\x05\xf0\x3d\xc0\x27\xcc\xc3\x52\x4a\x0a\x11\x18\xa8"));
}

TEST(RC4, RoundTripAndKeyRepetition) {
  std::mt19937 rng(99);
  std::string bytes(10000, '\0');
  for (auto& c : bytes) c = static_cast<char>(rng());
  const std::u16string data = Chars(bytes);
  const std::u16string once = RC4_Calc::rc4crypt(data, u"k\u062E");
  EXPECT_EQ(RC4_Calc::rc4crypt(once, u"k\u062E"), data);
  EXPECT_EQ(RC4_Calc::rc4crypt(data, u"k\u062Ek\u062E"), once);  // the key block repeats the key
  const std::u16string longKey(256, u'a');
  EXPECT_EQ(RC4_Calc::rc4crypt(data, longKey + u"b"), RC4_Calc::rc4crypt(data, longKey + u"c"));
  EXPECT_EQ(RC4_Calc::rc4crypt(u"", u"k"), u"");
}

TEST(RC4, EveryKernelConvertsTextsAsTheScalarOne) {
  // Characters of the code page, ASCII and unmapped ones (which become '?') in every
  // lane, at lengths around the 4096-byte blocks.
  std::mt19937 rng(5);
  for (int number : {1252, 1256}) {
    const CodePage& cp = CodePage::Get(number);
    for (std::size_t n : {1, 31, 64, 4095, 4096, 4097, 20000}) {
      std::u16string data(n, u'\0');
      for (auto& c : data) {
        const unsigned r = rng() % 3;
        c = r == 0 ? static_cast<char16_t>(rng() % 0x80) : r == 1 ? cp.ToChar(static_cast<std::uint8_t>(rng())) : static_cast<char16_t>(rng());
      }
      const std::u16string expected = RC4_Calc::rc4crypt(data, u"key", cp, CodecKernels::Of(CodecKernel::Scalar));
      for (CodecKernel kernel : {CodecKernel::Avx2, CodecKernel::Avx512}) {
        if (!CpuRuns(kernel)) continue;
        ASSERT_EQ(RC4_Calc::rc4crypt(data, u"key", cp, CodecKernels::Of(kernel)), expected) << Name(kernel) << " " << n;
      }
    }
  }
}

TEST(RC4, AnEmptyKeyOrAMultiByteCodePageFails) {
  try {
    RC4_Calc::rc4crypt(u"", u"");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::InvalidProcedureCall);
  }
  // Cipher bytes are no UTF-8 text, so they could not come back.
  try {
    RC4_Calc::rc4crypt(u"data", u"key", CodePage::Get(65001));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::BadCodePage);
  }
}

}  // namespace
}  // namespace xpkit
