// The codec's algorithm as written, on texts of binary digits: slow, and the measure
// the fast code is checked against.
#pragma once
#include <string>

#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"

namespace xpkit::reference {

inline std::u16string Encode(const std::u16string& es) {
  const CodePage& cp = SystemCodePage();
  std::u16string result;
  int line = 1;
  for (std::size_t i = 0; i < es.size(); i += 3) {
    std::u16string chunk = es.substr(i, 3);
    const std::size_t pad = 3 - chunk.size();
    chunk.resize(3, u'\0');
    std::string digits;
    for (char16_t c : chunk) digits += b64::dectobin(cp.ToByte(c));
    std::u16string four;
    for (int k = 0; k < 4; ++k) four += b64::b64char(b64::bintodec(digits.substr(static_cast<std::size_t>(6 * k), 6)));
    result += four.substr(0, 4 - pad) + std::u16string(u"==").substr(0, pad);
    if (++line == 20) {
      result += u"\r\n";
      line = 1;
    }
  }
  return result;
}

inline std::u16string Decode(std::u16string& ds) {
  const CodePage& cp = SystemCodePage();
  std::u16string clean;
  for (char16_t c : ds)
    if (c != u'\r' && c != u'\n') clean += c;
  ds = clean;
  std::u16string result;
  for (std::size_t i = 0; i < clean.size(); i += 4) {
    std::string digits;
    for (std::size_t k = 0; k < 4; ++k) {
      const std::u16string ch = i + k < clean.size() ? clean.substr(i + k, 1) : std::u16string();
      digits += b64::dectobin(b64::b64index(ch)).substr(2);
    }
    std::u16string three;
    for (int k = 0; k < 3; ++k)
      three += cp.ToChar(static_cast<std::uint8_t>(b64::bintodec(digits.substr(static_cast<std::size_t>(8 * k), 8))));
    const bool last = i + 4 >= clean.size();
    const bool two = clean.size() >= 2 && clean.substr(clean.size() - 2) == u"==";
    const bool one = !two && !clean.empty() && clean.back() == u'=';
    if (last && two) three.resize(1);
    else if (last && one) three.resize(2);
    result += three;
  }
  return result;
}

}  // namespace xpkit::reference
