// Base64 of texts and whole files: standard alphabet, "=" padding, CR LF after every 76
// characters unless given another line format. Characters become bytes, and bytes
// characters, through an ANSI code page: the system's (XPKIT_CODEPAGE) unless the codec
// is given another. The work runs on
// the scalar, AVX2 or AVX-512 kernels (see CodecKernel.h); all give the same results.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "xpkit/codecs/Base64Bytes.h"
#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codepage/CodePage.h"
#include "xpkit/files/FileError.h"

namespace xpkit {

class b64 {
 public:
  // Through the system ANSI code page, as the environment names it now, on the fastest
  // kernels this CPU runs, unless given others; in the default line format (CR LF after
  // every 76 characters) unless given another.
  b64() : cp_(&SystemCodePage()), kernels_(&CodecKernels::Fastest()) {}
  explicit b64(const CodePage& codePage) : cp_(&codePage), kernels_(&CodecKernels::Fastest()) {}
  b64(const CodePage& codePage, const CodecKernels& kernels, const base64::LineFormat& lines = {})
      : cp_(&codePage), kernels_(&kernels), lines_(lines) {}
  const CodePage& codePage() const { return *cp_; }
  const CodecKernels& kernels() const { return *kernels_; }
  const base64::LineFormat& lines() const { return lines_; }

  // The Base64 form of `es`. A character the code page lacks becomes "?"; the second
  // form adds each one to `lost`, so the caller can tell.
  std::u16string encode(const std::u16string& es) const;
  std::u16string encode(const std::u16string& es, LostCharacters& lost) const;
  // The characters `ds` decodes to; removes every CR and LF from the caller's `ds`.
  // Never fails: characters outside the alphabet count as 0. In UTF-8, bytes that are
  // not well-formed text become U+FFFD; the second form adds each one to `lost`.
  std::u16string decode(std::u16string& ds) const;
  std::u16string decode(std::u16string& ds, LostCharacters& lost) const;
  // Writes the Base64 form of file `ip` into file `op` (as an OutputFile: the shell's
  // ">", never half-written where that can be avoided). Fails with SubscriptOutOfRange
  // when `ip` is missing or empty, before `op` is touched, and with FileError naming
  // the file when `ip` cannot be read or `op` cannot be written.
  void encodefile(const std::string& ip, const std::string& op) const;
  // Writes the decoded form of the Base64 file `ip` into file `op`, failing as
  // encodefile does (also when `ip` holds nothing but CR and LF).
  void decodefile(const std::string& ip, const std::string& op) const;

  // Helpers, public for their own callers and tests.
  // Eight binary digits of 0..255; InvalidProcedureCall for anything else.
  static std::string dectobin(std::int32_t value);
  // The value of a text of binary digits; Overflow past a 16-bit integer.
  static std::int16_t bintodec(const std::string& digits);
  // The alphabet character of 0..63, an empty text for any other value.
  static std::u16string b64char(std::int32_t value);
  // The value of an alphabet character; 0 for "=", other characters and an empty text.
  static std::int16_t b64index(const std::u16string& ch);
  // Bytes of a text through the code page (in UTF-8, one to four a character);
  // SubscriptOutOfRange for an empty text.
  std::vector<std::uint8_t> strtobytes(const std::u16string& text) const;
  // A whole file as text: empty when it is missing or its length can't be taken;
  // FileAccess naming the file when it exists but can't be opened or read.
  std::u16string readfile(const std::string& path) const;

 private:
  // The text of the Base64 of `n` bytes, which bytesAt(at, m, out) gives block by block.
  template <class BytesAt>
  std::u16string EncodeToText(std::size_t n, BytesAt&& bytesAt) const;
  // Cleans `ds` of CR and LF and decodes it, handing the bytes to take(bytes, n) in blocks.
  template <class Take>
  void DecodeInBlocks(std::u16string& ds, Take&& take) const;

  const CodePage* cp_;
  const CodecKernels* kernels_;
  base64::LineFormat lines_;
};

// Streaming forms of the file operations, shared with the command-line tool. They read
// `in` to its end and hand output to `out` in blocks, and return the number of bytes
// written. Decoding removes CR and LF in the same pass.
using ByteSink = std::function<void(const std::uint8_t* data, std::size_t n)>;
using ByteSource = std::function<std::size_t(std::uint8_t* data, std::size_t capacity)>;
std::uint64_t EncodeStream(const ByteSource& in, const ByteSink& out, const CodecKernels& kernels,
                           const base64::LineFormat& lines = {});
std::uint64_t DecodeStream(const ByteSource& in, const ByteSink& out, const CodecKernels& kernels);

}  // namespace xpkit
