// rc4crypt twice under the same key is the identity, and every kernel's text conversion
// gives the scalar one's result; the first byte chooses the key length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xpkit/codecs/RC4_Calc.h"
#include "xpkit/codepage/CodePage.h"
#include "Kernels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t keyLength = 1 + data[0] % (size - 1);
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  const auto* chars = reinterpret_cast<const char*>(data + 1);
  const std::u16string key = cp.Decode(std::string_view(chars, keyLength));
  // Odd bytes pairs make characters outside the code page too, which become '?'.
  std::u16string text = cp.Decode(std::string_view(chars + keyLength, size - 1 - keyLength));
  for (std::size_t i = 0; i + 1 < text.size(); i += 7) text[i] = static_cast<char16_t>(text[i] << 8 | text[i + 1]);
  std::u16string expected;
  for (xpkit::CodecKernel kernel : KernelsThisCpuRuns()) {
    const std::u16string once = xpkit::RC4_Calc::rc4crypt(text, key, cp, xpkit::CodecKernels::Of(kernel));
    if (kernel == xpkit::CodecKernel::Scalar) expected = once;
    if (once != expected || once.size() != text.size()) std::abort();
  }
  std::u16string mapped = text;
  for (auto& c : mapped) c = cp.ToChar(cp.ToByte(c));
  if (xpkit::RC4_Calc::rc4crypt(expected, key) != mapped) std::abort();
  return 0;
}
