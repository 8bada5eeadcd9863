// rc4crypt twice under the same key is the identity; the first byte chooses the key length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codecs/RC4_Calc.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t keyLength = 1 + data[0] % (size - 1);
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  const auto* chars = reinterpret_cast<const char*>(data + 1);
  const std::u16string key = cp.Decode(std::string_view(chars, keyLength));
  const std::u16string text = cp.Decode(std::string_view(chars + keyLength, size - 1 - keyLength));
  const std::u16string once = xpkit::RC4_Calc::rc4crypt(text, key);
  if (once.size() != text.size() || xpkit::RC4_Calc::rc4crypt(once, key) != text) std::abort();
  return 0;
}
