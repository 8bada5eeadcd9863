#include "xpkit/layout/LayoutFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "xpkit/files/FileError.h"
#include "xpkit/files/InputFile.h"
#include "xpkit/files/OutputFile.h"
#include "xpkit/layout/ControlRegistry.h"

namespace xpkit {

Layout ReadLayoutFile(const std::string& path, const ControlRegistry& registry) {
  constexpr std::size_t kLimit = 16 << 20;
  InputFile in(path);  // a folder, or one that may not be read, throws with the reason
  if (in.missing()) throw FileError(path, std::string("cannot open layout file: ") + std::strerror(ENOENT));
  const std::string text = in.ReadAll(kLimit);
  if (text.size() > kLimit) throw FileError(path, "is not a layout file: longer than 16 MiB");
  return ParseLayout(text, in.name(), registry);
}

Layout ReadLayoutFile(const std::string& path) { return ReadLayoutFile(path, ControlRegistry()); }

void WriteLayoutFile(const std::string& path, const Layout& layout) {
  const std::string text = FormatLayout(layout);
  OutputFile out(path);
  out.Write(text.data(), text.size());
  out.Commit();
}

}  // namespace xpkit
