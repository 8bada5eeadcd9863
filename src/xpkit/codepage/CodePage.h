// Single-byte ANSI code pages (Windows-1252 and Windows-1256) with exact tables, and the
// system ANSI code page the environment names.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace xpkit {

class CodePage {
 public:
  // The code page with this number; Error(BadCodePage) for any but 1252 and 1256.
  static const CodePage& Get(int number);

  int number() const { return number_; }
  // The GDI character set fonts for texts in this code page name: ARABIC_CHARSET (178)
  // for 1256, ANSI_CHARSET (0) for 1252.
  std::uint8_t charset() const { return number_ == 1256 ? 178 : 0; }
  char16_t ToChar(std::uint8_t byte) const { return toChar_[byte]; }
  // The byte of a character; a character the code page cannot represent becomes '?'.
  std::uint8_t ToByte(char16_t ch) const {
    const std::uint16_t b = toByte_[ch];
    return b == kUnmapped ? static_cast<std::uint8_t>('?') : static_cast<std::uint8_t>(b);
  }
  bool Represents(char16_t ch) const { return toByte_[ch] != kUnmapped; }
  // The tables behind ToByte and ToChar, for converting long texts at once: entry c of
  // byteTable() is the byte of character c, or unmapped(); entry b of charTable() is
  // the character of byte b.
  const std::uint16_t* byteTable() const { return toByte_.data(); }
  const char16_t* charTable() const { return toChar_.data(); }
  static constexpr std::uint16_t unmapped() { return kUnmapped; }

  std::u16string Decode(std::string_view bytes) const;
  std::string Encode(std::u16string_view text) const;

 private:
  static constexpr std::uint16_t kUnmapped = 0xFFFF;
  // Built at compile time: the tables are constants of the program.
  constexpr CodePage(int number, const char16_t (&high)[128]) : number_(number) {
    for (auto& b : toByte_) b = kUnmapped;
    for (int b = 0; b < 256; ++b) {
      const char16_t ch = b < 0x80 ? static_cast<char16_t>(b) : high[b - 0x80];
      toChar_[b] = ch;
      toByte_[ch] = static_cast<std::uint16_t>(b);
    }
  }
  friend struct CodePageTables;
  int number_;
  std::array<char16_t, 256> toChar_{};
  std::array<std::uint16_t, 65536> toByte_{};
};

// The system ANSI code page: 1256 unless the environment variable XPKIT_CODEPAGE names
// 1252 or 1256, read afresh at every call. An invalid XPKIT_CODEPAGE is an
// Error(BadCodePage) naming the value; programs call this at start to report it.
const CodePage& SystemCodePage();

}  // namespace xpkit
