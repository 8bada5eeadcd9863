// Any bytes decode without a crash, and decode agrees with the streaming decoder.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/b64.h"
#include "fuzz/InMemoryStream.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  std::u16string ds = cp.Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = cp.Encode(xpkit::b64().decode(ds));
  const std::string streamed = InMemoryStream(xpkit::DecodeStream, data, size);
  if (streamed != text) std::abort();
  return 0;
}
