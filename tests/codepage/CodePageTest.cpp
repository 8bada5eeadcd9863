#include "xpkit/codepage/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/codepage/PrintableName.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/files/FileError.h"

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

TEST(CodePage, OnlyTheTwoTablesAndUtf8Exist) {
  EXPECT_THROW(CodePage::Get(437), Error);
  EXPECT_THROW(CodePage::Get(65000), Error);
  const CodePage& utf8 = CodePage::Get(65001);
  EXPECT_FALSE(utf8.singleByte());
  EXPECT_TRUE(CodePage::Get(1256).singleByte());
  EXPECT_EQ(utf8.charset(), 1);  // DEFAULT_CHARSET: a UTF-8 text may be in any script
}

TEST(CodePage, Utf8CarriesEveryCharacterAsOneToFourBytes) {
  const CodePage& utf8 = CodePage::Get(65001);
  const std::u16string text(u"Gr\u00FC\u00DFe \u062E\u20AC\U0001F600\0.", 12);
  const std::string bytes("Gr\xC3\xBC\xC3\x9F" "e \xD8\xAE\xE2\x82\xAC\xF0\x9F\x98\x80\0.", 19);
  LostCharacters lost;
  EXPECT_EQ(utf8.Encode(text, lost), bytes);
  EXPECT_EQ(utf8.Decode(bytes, lost), text);
  EXPECT_FALSE(lost) << lost.Describe(utf8);
  EXPECT_TRUE(utf8.Represents(u'\u4E2D'));
  EXPECT_FALSE(utf8.Represents(u'\xD800'));
}

TEST(CodePage, WhatAConversionLosesIsCountedAndNamed) {
  // Characters a single-byte code page lacks become "?".
  LostCharacters lost;
  EXPECT_EQ(CodePage::Get(1256).Encode(u"Gr\u00FC\u00DFe \u4E2D", lost), "Gr\xFC?e ?");
  EXPECT_EQ(lost.count, 2u);
  EXPECT_EQ(lost.Describe(CodePage::Get(1256)), "character 4, U+00DF, is not in code page 1256 (2 characters in all)");
  // Surrogates without their partner have no UTF-8 form; a pair has one.
  const CodePage& utf8 = CodePage::Get(65001);
  lost = {};
  EXPECT_EQ(utf8.Encode(std::u16string{0xDC00, u'a', 0xD83D, 0xDE00, u'b', 0xD800}, lost), "?a\xF0\x9F\x98\x80" "b?");
  EXPECT_EQ(lost.count, 2u);
  EXPECT_EQ(lost.Describe(utf8), "character 1, U+DC00, is half of a surrogate pair, which has no UTF-8 form (2 characters in all)");
  // Bytes that are not well-formed UTF-8 become U+FFFD, one for each byte.
  lost = {};
  EXPECT_EQ(utf8.Decode("ok\xC3(\xE2\x82", lost), u"ok\uFFFD(\uFFFD\uFFFD");
  EXPECT_EQ(lost.count, 3u);
  EXPECT_EQ(lost.Describe(utf8), "byte 3, 0xC3, is not UTF-8 text (3 bytes in all)");
  // Every byte has its character in the single-byte code pages.
  lost = {};
  CodePage::Get(1252).Decode("\x80\xFF\xC3", lost);
  EXPECT_FALSE(lost);
}

TEST(CodePage, TheEnvironmentNamesTheSystemCodePage) {
  const char* old = std::getenv("XPKIT_CODEPAGE");
  const std::string saved = old ? old : "";
  ::setenv("XPKIT_CODEPAGE", "65001", 1);
  EXPECT_EQ(SystemCodePage().number(), 65001);
  ::unsetenv("XPKIT_CODEPAGE");
  EXPECT_EQ(SystemCodePage().number(), 1256);
  ::setenv("XPKIT_CODEPAGE", "utf8", 1);
  EXPECT_THROW(SystemCodePage(), Error);
  if (old) ::setenv("XPKIT_CODEPAGE", saved.c_str(), 1);
  else ::unsetenv("XPKIT_CODEPAGE");
}

TEST(Utf8, OnlyWellFormedTextIsAccepted) {
  EXPECT_EQ(FromUtf8("a\xD8\xAE\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u16string(u"a\u062E\u20AC\U0001F600"));
  EXPECT_EQ(FromUtf8("\xF4\x8F\xBF\xBF"), std::u16string(u"\U0010FFFF"));
  for (const char* bad : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",  // overlong
                          "\xED\xA0\x80", "\xED\xBF\xBF",                           // surrogates
                          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",             // past U+10FFFF
                          "\x80", "\xD8", "a\xE2\x82"})                                 // stray, truncated
    EXPECT_FALSE(FromUtf8(bad)) << bad;
  const std::u16string all(u"\u0000x\uFFFF\U00010000", 5);
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

// Nothing of a name in a message may reach the terminal as a control: a new line, an
// escape sequence (also C1's one-byte CSI), a reordering of the line, a broken sequence.
TEST(PrintableName, OnlyPrintableTextPassesAsItIs) {
  for (const char* text : {"out/a b.png", "\xD8\xAE\xD8\xB1\xD9\x88\xD8\xAC \xC3\xA9\xF0\x9F\x98\x80"})
    EXPECT_EQ(PrintableName(text), text);
  EXPECT_EQ(PrintableName("a\nb\tc\rd\a\b\v\f"), "a\\nb\\tc\\rd\\a\\b\\v\\f");
  EXPECT_EQ(PrintableName("\x1b[31mred\x7f"), "\\x1b[31mred\\x7f");
  EXPECT_EQ(PrintableName(std::string("nul\0", 4)), "nul\\x00");
  EXPECT_EQ(PrintableName("C:\\x1b"), "C:\\\\x1b");  // a backslash cannot fake an escape
  EXPECT_EQ(PrintableName("\xC2\x9B" "2J\xC2\x85"), "\\u009b2J\\u0085");
  EXPECT_EQ(PrintableName("a\xE2\x80\xAE" "b\xE2\x80\xA8" "c\xE2\x81\xA6"), "a\\u202eb\\u2028c\\u2066");
  EXPECT_EQ(PrintableName("\xFF\xC3(\xE2\x82"), "\\xff\\xc3(\\xe2\\x82");
  EXPECT_EQ(PrintableName("\xED\xA0\x80"), "\\xed\\xa0\\x80");  // an encoded surrogate
  // Messages show it; the error keeps the name as it is, for the caller's own use.
  const FileError e("new\nline", "cannot write");
  EXPECT_STREQ(e.what(), "new\\nline: cannot write");
  EXPECT_EQ(e.path(), "new\nline");
}

}  // namespace
}  // namespace xpkit
