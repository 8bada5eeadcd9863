#include "layout/LayoutFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "layout/ControlRegistry.h"

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
  const std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) throw FileError(tmp, std::string("cannot create: ") + std::strerror(errno));
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(tmp.c_str());
    throw FileError(path, "cannot write layout file: " + reason);
  }
}

}  // namespace xpkit
