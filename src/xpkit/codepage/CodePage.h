// The ANSI code pages: single-byte Windows-1252 and Windows-1256 with exact tables, and
// 65001, UTF-8, with one to four bytes a character; and the system ANSI code page the
// environment names.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xpkit {

class CodePage;

// What a conversion could not carry over: characters a code page lacks, which became
// "?", or bytes that are not text in it (UTF-8 that is not well-formed), which became
// U+FFFD, one for each byte. Conversions in pieces add to the same record.
struct LostCharacters {
  std::size_t count = 0;
  std::size_t first = 0;      // where the first was: its index in the text or its byte offset
  std::uint32_t value = 0;    // the first: the character, or the byte
  bool fromBytes = false;     // lost turning bytes into text, not text into bytes
  explicit operator bool() const { return count != 0; }
  void Add(std::size_t at, std::uint32_t what, bool bytes) {
    if (count++ == 0) first = at, value = what, fromBytes = bytes;
  }
  // "character 3, U+00DF, is not in code page 1256 (2 characters in all)", or
  // "byte 7, 0xC3, is not UTF-8 text (...)": positions counted from 1.
  std::string Describe(const CodePage& codePage) const;
};

class CodePage {
 public:
  // The code page with this number; Error(BadCodePage) for any but 1252, 1256 and 65001.
  static const CodePage& Get(int number);
  static bool Supported(long long number) { return number == 1252 || number == 1256 || number == kUtf8; }

  int number() const { return number_; }
  // One byte for every character and one character for every byte (1252, 1256), or
  // not (65001).
  bool singleByte() const { return number_ != kUtf8; }
  // The GDI character set fonts for texts in this code page name: ARABIC_CHARSET (178)
  // for 1256, ANSI_CHARSET (0) for 1252, DEFAULT_CHARSET (1) for UTF-8.
  std::uint8_t charset() const { return number_ == 1256 ? 178 : number_ == kUtf8 ? 1 : 0; }

  // Characters one at a time, for single-byte code pages; in UTF-8 these cover only
  // the characters below 0x80, and ToChar gives U+FFFD for any other byte.
  char16_t ToChar(std::uint8_t byte) const { return toChar_[byte]; }
  // The byte of a character; a character the code page cannot represent becomes '?'.
  std::uint8_t ToByte(char16_t ch) const {
    const std::uint16_t b = toByte_[ch];
    return b == kUnmapped ? static_cast<std::uint8_t>('?') : static_cast<std::uint8_t>(b);
  }
  // Whether the character converts on its own: in UTF-8 every one but the surrogates,
  // which convert only in pairs.
  bool Represents(char16_t ch) const { return singleByte() ? toByte_[ch] != kUnmapped : (ch & 0xF800) != 0xD800; }
  // The tables behind ToByte and ToChar, for converting long texts at once: entry c of
  // byteTable() is the byte of character c, or unmapped(); entry b of charTable() is
  // the character of byte b.
  const std::uint16_t* byteTable() const { return toByte_.data(); }
  const char16_t* charTable() const { return toChar_.data(); }
  static constexpr std::uint16_t unmapped() { return kUnmapped; }

  // Whole texts, in any code page. What the conversion loses is added to `lost`.
  std::u16string Decode(std::string_view bytes) const;
  std::u16string Decode(std::string_view bytes, LostCharacters& lost) const;
  std::string Encode(std::u16string_view text) const;
  std::string Encode(std::u16string_view text, LostCharacters& lost) const;
  // The same into room the caller gives, without clearing it first: MaxBytes(n) bytes
  // for a text of n characters, a character for every byte. Both return how many they wrote.
  std::size_t MaxBytes(std::size_t characters) const { return singleByte() ? characters : 3 * characters; }
  std::size_t EncodeInto(std::u16string_view text, char* out, LostCharacters& lost) const;
  std::size_t DecodeInto(std::string_view bytes, char16_t* out, LostCharacters& lost) const;
  // What Encode would lose, with `at` added to the positions.
  void FindLost(std::u16string_view text, std::size_t at, LostCharacters& lost) const;

 private:
  static constexpr int kUtf8 = 65001;
  static constexpr std::uint16_t kUnmapped = 0xFFFF;
  // Built at compile time: the tables are constants of the program. `high` holds the
  // characters of bytes 0x80..0xFF; without it (UTF-8) the tables cover the characters
  // below 0x80, which all code pages share, so that the fast paths for them hold in
  // every code page.
  constexpr CodePage(int number, const char16_t* high) : number_(number) {
    for (auto& b : toByte_) b = kUnmapped;
    for (int b = 0; b < 256; ++b) {
      toChar_[b] = b < 0x80 ? static_cast<char16_t>(b) : high ? high[b - 0x80] : u'\uFFFD';
      if (b < 0x80 || high) toByte_[toChar_[b]] = static_cast<std::uint16_t>(b);
    }
  }
  friend struct CodePageTables;
  int number_;
  std::array<char16_t, 256> toChar_{};
  std::array<std::uint16_t, 65536> toByte_{};
};

// The system ANSI code page: 1256 unless the environment variable XPKIT_CODEPAGE names
// 1252, 1256 or 65001, read afresh at every call. An invalid XPKIT_CODEPAGE is an
// Error(BadCodePage) naming the value; programs call this at start to report it.
const CodePage& SystemCodePage();

}  // namespace xpkit
