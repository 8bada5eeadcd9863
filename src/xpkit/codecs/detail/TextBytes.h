// Long texts to bytes and back through an ANSI code page, and the narrowing that Base64
// decoding reads: runs of characters below 0x80 at full vector width, a table for the
// rest. Every kernel gives the results of the scalar one.
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codepage/CodePage.h"

namespace xpkit::textbytes {

// The bytes of `n` characters through the code page; '?' for a character it cannot
// represent.
void ToBytes(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage, const CodecKernels& kernels);

// The characters of `n` bytes through the code page.
void ToText(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage, const CodecKernels& kernels);

// The characters of `n` bytes below 0x80, as they are (Base64 characters, CR, LF).
void WidenAscii(const std::uint8_t* bytes, std::size_t n, char16_t* text);

// Copies text[0, n) to `dst` without its CR and LF characters, and writes the byte that
// Base64 decoding reads for each character kept to `ascii`: the character below 0x80,
// 0x80 (outside the alphabet) for any other. `dst` may be `text` or lie before it, so
// a text can be cleaned in place. Returns the characters kept.
std::size_t StripBreaksToAscii(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                               const CodecKernels& kernels);

}  // namespace xpkit::textbytes
