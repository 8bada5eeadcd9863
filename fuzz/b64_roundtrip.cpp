// encode then decode gives the bytes back, with lines of 76 characters and in a line
// format the first byte picks; in each, every kernel encodes as the scalar one does, as
// text and streamed, with the breaks where the format puts them.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"
#include "InMemoryStream.h"
#include "Kernels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  const std::u16string text = cp.Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  const xpkit::base64::LineFormat picked{size ? data[0] % 90u : 76u, size && (data[0] & 0x80) != 0};
  for (const xpkit::base64::LineFormat& lines : {xpkit::base64::LineFormat{}, picked}) {
    const std::size_t step = lines.length + (lines.crlf ? 2 : 1);
    std::u16string expected;
    for (xpkit::CodecKernel kernel : KernelsThisCpuRuns()) {
      const xpkit::CodecKernels& kernels = xpkit::CodecKernels::Of(kernel);
      const xpkit::b64 codec(cp, kernels, lines);
      std::u16string encoded = codec.encode(text);
      if (kernel == xpkit::CodecKernel::Scalar) expected = encoded;
      if (encoded != expected || encoded.size() != xpkit::base64::EncodedLength(size, lines)) std::abort();
      for (std::size_t i = lines.length; lines.length != 0 && i < encoded.size(); i += step)
        if (lines.crlf ? encoded[i] != u'\r' || encoded[i + 1] != u'\n' : encoded[i] != u'\n') std::abort();
      auto stream = [&](auto&&... a) { return xpkit::EncodeStream(a..., kernels, lines); };
      if (InMemoryStream(stream, data, size) != cp.Encode(encoded)) std::abort();
      if (codec.decode(encoded) != text) std::abort();
    }
  }
  return 0;
}
