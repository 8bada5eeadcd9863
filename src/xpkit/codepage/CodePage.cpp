#include "xpkit/codepage/CodePage.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/codepage/Utf.h"

namespace xpkit {
namespace {

// Bytes 0x80..0xFF. Windows-1252 maps its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) to the C1 controls of the same value, so every byte converts and back.
constexpr char16_t kHigh1252[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // C8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,  // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // E8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,  // F8
};

// Windows-1256 (Arabic, with the Persian and Urdu letters) assigns all 128 high bytes.
constexpr char16_t kHigh1256[128] = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,  // 88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA,  // 98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F,  // B8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,  // C0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,  // C8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7,  // D0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,  // D8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF,  // E8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,  // F0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,  // F8
};

// A surrogate without its partner has no UTF-8 form.
bool Unpaired(std::u16string_view text, std::size_t i) {
  const char16_t c = text[i];
  if (IsHighSurrogate(c)) return i + 1 >= text.size() || !IsLowSurrogate(text[i + 1]);
  return IsLowSurrogate(c) && (i == 0 || !IsHighSurrogate(text[i - 1]));
}

}  // namespace

struct CodePageTables {
  static constexpr CodePage k1252{1252, kHigh1252};
  static constexpr CodePage k1256{1256, kHigh1256};
  static constexpr CodePage kUtf8{65001, nullptr};
};

const CodePage& CodePage::Get(int number) {
  if (number == 1252) return CodePageTables::k1252;
  if (number == 1256) return CodePageTables::k1256;
  if (number == kUtf8) return CodePageTables::kUtf8;
  throw Error(ErrorCode::BadCodePage, "",
              "code page " + std::to_string(number) + " is not supported (supported: 1252, 1256, 65001)");
}

std::u16string CodePage::Decode(std::string_view bytes) const {
  LostCharacters lost;
  return Decode(bytes, lost);
}

std::u16string CodePage::Decode(std::string_view bytes, LostCharacters& lost) const {
  std::u16string out(bytes.size(), u'\0');
  out.resize(DecodeInto(bytes, out.data(), lost));
  return out;
}

std::size_t CodePage::DecodeInto(std::string_view bytes, char16_t* out, LostCharacters& lost) const {
  char16_t* o = out;
  if (singleByte()) {  // every byte has its character
    for (const char b : bytes) *o++ = toChar_[static_cast<std::uint8_t>(b)];
    return bytes.size();
  }
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
      *o++ = static_cast<char16_t>(bytes[i++]);
      continue;
    }
    std::uint32_t cp = 0;
    const int length = NextCodePoint(bytes, i, cp);
    if (length == 0) {
      lost.Add(i, static_cast<std::uint8_t>(bytes[i]), true);
      *o++ = u'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(length);
    o += PutUtf16(cp, o);
  }
  return static_cast<std::size_t>(o - out);
}

std::string CodePage::Encode(std::u16string_view text) const {
  LostCharacters lost;
  if (!singleByte()) return Encode(text, lost);
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(ToByte(text[i]));
  return out;
}

std::string CodePage::Encode(std::u16string_view text, LostCharacters& lost) const {
  std::string out(MaxBytes(text.size()), '\0');
  out.resize(EncodeInto(text, out.data(), lost));
  return out;
}

std::size_t CodePage::EncodeInto(std::u16string_view text, char* out, LostCharacters& lost) const {
  if (singleByte()) {  // what is lost looked for in a pass of its own
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(ToByte(text[i]));
    FindLost(text, 0, lost);
    return text.size();
  }
  char* o = out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else if (Unpaired(text, i)) {
      lost.Add(i, c, false);
      *o++ = '?';
    } else {
      if (IsHighSurrogate(text[i])) {
        c = FromSurrogates(text[i], text[i + 1]);
        ++i;
      }
      o += PutUtf8(c, o);
    }
  }
  return static_cast<std::size_t>(o - out);
}

void CodePage::FindLost(std::u16string_view text, std::size_t at, LostCharacters& lost) const {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (singleByte() ? toByte_[text[i]] == kUnmapped : Unpaired(text, i)) lost.Add(at + i, text[i], false);
}

std::string LostCharacters::Describe(const CodePage& codePage) const {
  if (count == 0) return "nothing was lost";
  char what[16];
  std::snprintf(what, sizeof what, fromBytes ? "0x%02X" : "U+%04X", static_cast<unsigned>(value));
  std::string text = (fromBytes ? "byte " : "character ") + std::to_string(first + 1) + ", " + what;
  if (fromBytes) text += ", is not UTF-8 text";
  else if (codePage.singleByte()) text += ", is not in code page " + std::to_string(codePage.number());
  else text += ", is half of a surrogate pair, which has no UTF-8 form";
  if (count > 1) text += " (" + std::to_string(count) + (fromBytes ? " bytes" : " characters") + " in all)";
  return text;
}

const CodePage& SystemCodePage() {
  const char* env = std::getenv("XPKIT_CODEPAGE");
  if (!env || !*env) return CodePage::Get(1256);
  const std::string v(env);
  if (v == "1252") return CodePage::Get(1252);
  if (v == "1256") return CodePage::Get(1256);
  if (v == "65001") return CodePage::Get(65001);
  throw Error(ErrorCode::BadCodePage, "", "XPKIT_CODEPAGE must be 1252, 1256 or 65001, not '" + v + "'");
}

}  // namespace xpkit
