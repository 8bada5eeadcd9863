// RC4 as published: key scheduling and keystream generation, the keystream XORed with
// the data. No bytes are dropped and nothing is mixed into the key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codepage/CodePage.h"

namespace xpkit::RC4_Calc {

// Transforms `data` under `key`, both turned into bytes through an ANSI code page (the
// system's, as the environment names it, unless given); the result has one character
// per data character. Calling it again on the result with the same key gives `data`
// back. An empty key is InvalidProcedureCall; a code page that is not single-byte
// (UTF-8, whose texts cannot hold the cipher's bytes) is BadCodePage.
std::u16string rc4crypt(const std::u16string& data, const std::u16string& key);
std::u16string rc4crypt(const std::u16string& data, const std::u16string& key, const CodePage& codePage);
// The same on the given text-conversion kernels (the others run the fastest this CPU has).
std::u16string rc4crypt(const std::u16string& data, const std::u16string& key, const CodePage& codePage,
                        const CodecKernels& kernels);

// The byte form: `n` bytes of `in` to `out` (which may be `in`); `keyLength` >= 1.
void rc4crypt(const std::uint8_t* in, std::size_t n, const std::uint8_t* key, std::size_t keyLength,
              std::uint8_t* out);

// The cipher's state, for transforming a long input in pieces.
class Rc4State {
 public:
  Rc4State(const std::uint8_t* key, std::size_t keyLength);
  void Apply(const std::uint8_t* in, std::size_t n, std::uint8_t* out);

 private:
  std::uint8_t s_[256];
  std::uint8_t i_ = 0, j_ = 0;
};

}  // namespace xpkit::RC4_Calc
