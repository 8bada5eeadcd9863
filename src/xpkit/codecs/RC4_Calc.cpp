#include "xpkit/codecs/RC4_Calc.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/codecs/detail/LargeText.h"
#include "xpkit/codecs/detail/TextBytes.h"
#include "xpkit/codepage/CodePage.h"

namespace xpkit::RC4_Calc {

Rc4State::Rc4State(const std::uint8_t* key, std::size_t keyLength) {
  for (int n = 0; n < 256; ++n) s_[n] = static_cast<std::uint8_t>(n);
  // The key repeats to fill 256 bytes; characters after the 256th are never used.
  std::uint8_t j = 0;
  for (std::size_t n = 0, k = 0; n < 256; ++n, k = (k + 1 == keyLength ? 0 : k + 1)) {
    j = static_cast<std::uint8_t>(j + s_[n] + key[k]);
    std::swap(s_[n], s_[j]);
  }
}

void Rc4State::Apply(const std::uint8_t* in, std::size_t n, std::uint8_t* out) {
  std::uint8_t i = i_, j = j_;
  std::uint8_t* s = s_;
  // S[i + 1] is loaded before this step's swap stores, which keeps the loads off the
  // chain through j; in the rare case that j lands on i + 1 the swapped value is taken.
  std::uint8_t si = s[static_cast<std::uint8_t>(i + 1)];
  auto step = [&]() -> std::uint8_t {
    ++i;
    j = static_cast<std::uint8_t>(j + si);
    const std::uint8_t sj = s[j];
    const auto next = static_cast<std::uint8_t>(i + 1);
    std::uint8_t sn = s[next];
    s[i] = sj;
    s[j] = si;
    const std::uint8_t k = s[static_cast<std::uint8_t>(si + sj)];
    if (__builtin_expect(next == j, 0)) {
      asm volatile("");  // keep this a rarely taken branch, not a select on the j chain
      sn = si;
    }
    si = sn;
    return k;
  };
  std::size_t p = 0;
  for (; p + 8 <= n; p += 8) {  // eight keystream bytes, one XOR
    std::uint64_t ks = 0;
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) ks |= std::uint64_t{step()} << (8 * k);
    std::uint64_t d;
    std::memcpy(&d, in + p, 8);
    d ^= ks;
    std::memcpy(out + p, &d, 8);
  }
  for (; p < n; ++p) out[p] = static_cast<std::uint8_t>(in[p] ^ step());
  i_ = i;
  j_ = j;
}

void rc4crypt(const std::uint8_t* in, std::size_t n, const std::uint8_t* key, std::size_t keyLength,
              std::uint8_t* out) {
  Rc4State state(key, keyLength);
  state.Apply(in, n, out);
}

std::u16string rc4crypt(const std::u16string& data, const std::u16string& key) {
  return rc4crypt(data, key, SystemCodePage());
}

std::u16string rc4crypt(const std::u16string& data, const std::u16string& key, const CodePage& cp) {
  return rc4crypt(data, key, cp, CodecKernels::Fastest());
}

std::u16string rc4crypt(const std::u16string& data, const std::u16string& key, const CodePage& cp,
                        const CodecKernels& kernels) {
  if (key.empty()) throw Error(ErrorCode::InvalidProcedureCall, "rc4crypt: the key is empty");
  // Cipher bytes are any bytes, and most of them are no UTF-8 text.
  if (!cp.singleByte())
    throw Error(ErrorCode::BadCodePage, "", "rc4crypt of texts needs a single-byte code page, not " +
                                                std::to_string(cp.number()) + ": use the byte form");
  std::uint8_t k[256];
  const std::size_t used = key.size() < 256 ? key.size() : 256;
  textbytes::ToBytes(key.data(), used, k, cp, CodecKernels::Of(CodecKernel::Scalar));
  Rc4State state(k, used);
  // Blocks small enough for the cache: characters to bytes, the cipher, bytes back.
  const std::size_t n = data.size();
  return LargeText(n, [&](char16_t* out) {
    constexpr std::size_t kBlock = 4096;
    std::uint8_t buf[kBlock];
    for (std::size_t at = 0; at < n; at += kBlock) {
      const std::size_t m = std::min(kBlock, n - at);
      textbytes::ToBytes(data.data() + at, m, buf, cp, kernels);
      state.Apply(buf, m, buf);
      textbytes::ToText(buf, m, out + at, cp, kernels);
    }
    return n;
  });
}

}  // namespace xpkit::RC4_Calc
