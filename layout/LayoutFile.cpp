#include "xpkit/layout/LayoutFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "xpkit/layout/ControlRegistry.h"
#include "xpkit/platform/OutputFile.h"

namespace xpkit {

Layout ReadLayoutFile(const std::string& path, const ControlRegistry& registry) {
  constexpr std::size_t kLimit = 16 << 20;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path, std::string("cannot open layout file: ") + std::strerror(errno));
  std::string text;
  char buf[1 << 16];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    text.append(buf, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kLimit) throw FileError(path, "is not a layout file: longer than 16 MiB");
  }
  if (in.bad()) throw FileError(path, "cannot read layout file");
  return ParseLayout(text, path, registry);
}

Layout ReadLayoutFile(const std::string& path) { return ReadLayoutFile(path, ControlRegistry()); }

void WriteLayoutFile(const std::string& path, const Layout& layout) {
  const std::string text = FormatLayout(layout);
  OutputFile out(path);
  out.Write(text.data(), text.size());
  out.Commit();
}

}  // namespace xpkit
