// encode then decode gives the bytes back, with lines of 76 characters, and the
// streaming encoder writes the same characters as encode.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codecs/b64.h"
#include "fuzz/InMemoryStream.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  const std::u16string text = cp.Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  xpkit::b64 codec;
  std::u16string encoded = codec.encode(text);
  for (std::size_t i = 76; i < encoded.size(); i += 78)
    if (encoded[i] != u'\r' || encoded[i + 1] != u'\n') std::abort();
  const std::string streamed = InMemoryStream(xpkit::EncodeStream, data, size);
  if (streamed != cp.Encode(encoded)) std::abort();
  if (codec.decode(encoded) != text) std::abort();
  return 0;
}
