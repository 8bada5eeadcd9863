#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace xpkit {
namespace {

TEST(CodePage, EveryByteMapsToACharacterAndBack) {
  for (int number : {1252, 1256}) {
    const CodePage& cp = CodePage::Get(number);
    for (int b = 0; b < 256; ++b) {
      const char16_t ch = cp.ToChar(static_cast<std::uint8_t>(b));
      EXPECT_TRUE(cp.Represents(ch)) << number << " byte " << b;
      EXPECT_EQ(cp.ToByte(ch), b) << number << " byte " << b;
    }
  }
}

TEST(CodePage, KnownCharacters) {
  const CodePage& ar = CodePage::Get(1256);
  // The Exit button's caption, khah reh waw jeem.
  EXPECT_EQ(ar.Encode(u"\u062E\u0631\u0648\u062C"), "\xCE\xD1\xE6\xCC");
  EXPECT_EQ(ar.ToChar(0x81), u'\u067E');  // peh
  EXPECT_EQ(ar.ToChar(0x90), u'\u06AF');  // gaf
  const CodePage& latin = CodePage::Get(1252);
  EXPECT_EQ(latin.ToChar(0x80), u'\u20AC');
  EXPECT_EQ(latin.ToChar(0x9F), u'\u0178');
  // The five unassigned bytes stand for the C1 controls of the same value.
  for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(latin.ToChar(static_cast<std::uint8_t>(b)), b);
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(CodePage::Get(1252).Encode(u"a\u062Eb\u4E2D"), "a?b?");
  EXPECT_EQ(CodePage::Get(1256).Encode(u"\u00C0"), "?");  // A grave is not in 1256
  EXPECT_FALSE(CodePage::Get(1256).Represents(u'\u00C0'));
}

TEST(CodePage, CharacterZeroIsOrdinary) {
  const std::u16string text(u"a\0b", 3);
  EXPECT_EQ(CodePage::Get(1256).Encode(text), std::string("a\0b", 3));
  EXPECT_EQ(CodePage::Get(1256).Decode(std::string("a\0b", 3)), text);
}

TEST(CodePage, OnlyTheTwoTablesExist) {
  EXPECT_THROW(CodePage::Get(437), std::invalid_argument);
  EXPECT_THROW(CodePage::Get(65001), std::invalid_argument);
}

}  // namespace
}  // namespace xpkit
