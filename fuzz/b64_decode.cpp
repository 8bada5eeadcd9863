// Any bytes decode without a crash, and decode agrees with the streaming decoder.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/b64.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  std::u16string ds = cp.Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = cp.Encode(xpkit::b64().decode(ds));
  std::string streamed;
  std::size_t at = 0;
  xpkit::DecodeStream(
      [&](std::uint8_t* d, std::size_t c) {
        const std::size_t n = std::min(c, size - at);
        std::copy(data + at, data + at + n, d);
        at += n;
        return n;
      },
      [&](const std::uint8_t* d, std::size_t n) { streamed.append(reinterpret_cast<const char*>(d), n); });
  if (streamed != text) std::abort();
  return 0;
}
