#include "xpkit/backends/headless/HeadlessBackend.h"

#include <cstdio>

#include "xpkit/codepage/Utf.h"

namespace xpkit {

void HeadlessBackend::ShowMessageBox(const std::u16string& text, const std::u16string& caption) {
  messageBoxes.push_back({text, caption});
  if (echoToStderr) std::fprintf(stderr, "[%s] %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
}

}  // namespace xpkit
