// Base64 of texts and whole files: standard alphabet, "=" padding, CR LF after every 76
// characters. Characters become bytes, and bytes characters, through an ANSI code page:
// the system's (XPKIT_CODEPAGE) unless the codec is given another. The work runs on
// the scalar, AVX2 or AVX-512 kernels (see CodecKernel.h); all give the same results.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codepage/CodePage.h"
#include "xpkit/files/FileError.h"

namespace xpkit {

class b64 {
 public:
  // Through the system ANSI code page, as the environment names it now. The kernels
  // are chosen once, here (ChooseCodecKernel), unless given.
  b64() : cp_(&SystemCodePage()), kernel_(ChooseCodecKernel()) {}
  explicit b64(const CodePage& codePage) : cp_(&codePage), kernel_(ChooseCodecKernel()) {}
  b64(const CodePage& codePage, CodecKernel kernel) : cp_(&codePage), kernel_(kernel) {}
  const CodePage& codePage() const { return *cp_; }
  CodecKernel kernel() const { return kernel_; }

  // The Base64 form of `es`.
  std::u16string encode(const std::u16string& es) const;
  // The characters `ds` decodes to; removes every CR and LF from the caller's `ds`.
  // Never fails: characters outside the alphabet count as 0.
  std::u16string decode(std::u16string& ds) const;
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
  // Bytes of a text through the code page; SubscriptOutOfRange for an empty text.
  std::vector<std::uint8_t> strtobytes(const std::u16string& text) const;
  // A whole file as text: empty when it is missing or its length can't be taken;
  // FileAccess naming the file when it exists but can't be opened or read.
  std::u16string readfile(const std::string& path) const;

 private:
  const CodePage* cp_;
  CodecKernel kernel_;
};

// Streaming forms of the file operations, shared with the command-line tool. They read
// `in` to its end and hand output to `out` in blocks; `progress` gets the bytes read so
// far. Both return the number of bytes written. Decoding removes CR and LF in the same
// pass.
using ByteSink = std::function<void(const std::uint8_t* data, std::size_t n)>;
using ByteSource = std::function<std::size_t(std::uint8_t* data, std::size_t capacity)>;
std::uint64_t EncodeStream(const ByteSource& in, const ByteSink& out,
                           const std::function<void(std::uint64_t)>& progress = {},
                           CodecKernel kernel = ChooseCodecKernel());
std::uint64_t DecodeStream(const ByteSource& in, const ByteSink& out,
                           const std::function<void(std::uint64_t)>& progress = {},
                           CodecKernel kernel = ChooseCodecKernel());

}  // namespace xpkit
