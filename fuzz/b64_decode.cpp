// Any bytes decode without a crash; every kernel decodes them as the scalar one does,
// as bytes, as text and streamed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "xpkit/codecs/Base64Bytes.h"
#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"
#include "InMemoryStream.h"
#include "Kernels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  std::string expected;
  for (xpkit::CodecKernel kernel : KernelsThisCpuRuns()) {
    std::vector<std::uint8_t> out(xpkit::base64::DecodeRoom(size));
    const std::size_t m = xpkit::base64::DecodeBytes(data, size, out.data(), xpkit::CodecKernels::Of(kernel));
    const std::string bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(m));
    if (kernel == xpkit::CodecKernel::Scalar) expected = bytes;
    if (bytes != expected) std::abort();
    std::u16string ds = cp.Decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (cp.Encode(xpkit::b64(cp, xpkit::CodecKernels::Of(kernel)).decode(ds)) != expected) std::abort();
    auto stream = [kernel](auto&&... a) { return xpkit::DecodeStream(a..., xpkit::CodecKernels::Of(kernel)); };
    if (InMemoryStream(stream, data, size) != expected) std::abort();
  }
  return 0;
}
