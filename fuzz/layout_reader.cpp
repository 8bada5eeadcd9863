// Any text given to the layout reader is read or refused with a LayoutError, never a
// crash or another error; a text it reads formats to a text that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xpkit/layout/ControlRegistry.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xpkit::ControlRegistry registry;
  const std::string text(reinterpret_cast<const char*>(data), size);
  xpkit::Layout layout;
  try {
    layout = xpkit::ParseLayout(text, "fuzz", registry);
  } catch (const xpkit::LayoutError&) {
    return 0;
  }
  const std::string once = xpkit::FormatLayout(layout);
  if (xpkit::FormatLayout(xpkit::ParseLayout(once, "fuzz", registry)) != once) std::abort();
  return 0;
}
