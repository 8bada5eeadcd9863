#include "xpkit/codecs/detail/TextBytes.h"

#include "xpkit/codecs/detail/TextBytesSimd.h"

namespace xpkit::textbytes {

void ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage, const CodecKernels& kernels) {
  std::size_t i = kernels.toBytes(text, n, bytes, codePage);
  // Sixteen at a time: the independent table reads overlap.
  for (; i + 16 <= n; i += 16) TableBytes16(text + i, bytes + i, codePage);
  for (; i < n; ++i) bytes[i] = codePage.ToByte(text[i]);
}

void ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage, const CodecKernels& kernels) {
  std::size_t i = kernels.toText(bytes, n, text, codePage);
  for (; i < n; ++i) text[i] = codePage.ToChar(bytes[i]);
}

void WidenAscii(const std::uint8_t* bytes, std::size_t n, char16_t* text) {
  for (std::size_t i = 0; i < n; ++i) text[i] = bytes[i];  // the compiler vectorises this
}

std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                               const CodecKernels& kernels) {
  std::size_t kept = 0;
  std::size_t i = kernels.stripBreaksToAscii(text, n, dst, ascii, kept);
  for (; i < n; ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') continue;
    dst[kept] = c;
    ascii[kept++] = static_cast<std::uint8_t>(c < 0x80 ? c : 0x80);
  }
  return kept;
}

}  // namespace xpkit::textbytes
