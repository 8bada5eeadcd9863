#include "codecs/RC4_Calc.h"

#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Error.h"

namespace xpkit::RC4_Calc {

Rc4State::Rc4State(const std::uint8_t* key, std::size_t keyLength) {
  for (std::uint32_t n = 0; n < 256; ++n) s_[n] = n;
  // The key repeats to fill 256 bytes; characters after the 256th are never used.
  std::uint32_t j = 0;
  for (std::uint32_t n = 0, k = 0; n < 256; ++n, k = (k + 1 == keyLength ? 0 : k + 1)) {
    j = (j + s_[n] + key[k]) & 0xFF;
    std::swap(s_[n], s_[j]);
  }
}

void Rc4State::Apply(const std::uint8_t* in, std::size_t n, std::uint8_t* out) {
  // Words rather than bytes for the state: no partial-register stalls in the loop.
  std::uint32_t i = i_, j = j_;
  std::uint32_t* s = s_;
  for (std::size_t p = 0; p < n; ++p) {
    i = (i + 1) & 0xFF;
    const std::uint32_t si = s[i];
    j = (j + si) & 0xFF;
    const std::uint32_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    out[p] = static_cast<std::uint8_t>(in[p] ^ s[(si + sj) & 0xFF]);
  }
  i_ = i;
  j_ = j;
}

void rc4crypt(const std::uint8_t* in, std::size_t n, const std::uint8_t* key, std::size_t keyLength,
              std::uint8_t* out) {
  Rc4State state(key, keyLength);
  state.Apply(in, n, out);
}

std::u16string rc4crypt(const std::u16string& data, const std::u16string& key) {
  if (key.empty()) throw Error(ErrorCode::InvalidProcedureCall, "rc4crypt: the key is empty");
  const CodePage& cp = SystemCodePage();
  std::uint8_t k[256];
  const std::size_t used = key.size() < 256 ? key.size() : 256;
  for (std::size_t n = 0; n < used; ++n) k[n] = cp.ToByte(key[n]);
  Rc4State state(k, used);
  std::u16string out(data.size(), u'\0');
  constexpr std::size_t kBlock = 4096;
  std::uint8_t buf[kBlock];
  for (std::size_t at = 0; at < data.size(); at += kBlock) {
    const std::size_t n = std::min(kBlock, data.size() - at);
    for (std::size_t p = 0; p < n; ++p) buf[p] = cp.ToByte(data[at + p]);
    state.Apply(buf, n, buf);
    for (std::size_t p = 0; p < n; ++p) out[at + p] = cp.ToChar(buf[p]);
  }
  return out;
}

}  // namespace xpkit::RC4_Calc
