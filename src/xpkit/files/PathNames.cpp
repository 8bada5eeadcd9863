#include "xpkit/files/PathNames.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace xpkit {

std::optional<std::string> FollowLinks(const std::string& path) {
  constexpr int kMaxLinks = 40;  // the kernel's own limit for a path lookup
  std::string at = path;
  for (int hops = 0;; ++hops) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), target, sizeof target);
    // Not a link, or nothing there: `at` is what gets written. Any other trouble on the
    // way is for the open to report.
    if (n < 0) return at;
    if (hops == kMaxLinks || n == static_cast<ssize_t>(sizeof target)) return std::nullopt;
    const std::string next(target, static_cast<std::size_t>(n));
    const auto slash = at.find_last_of('/');
    at = (next.front() == '/' || slash == std::string::npos) ? next : at.substr(0, slash + 1) + next;
  }
}

PathParts SplitPath(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string TemporaryName(const std::string& name) {
  // At most 48 bytes of the name, cut before a character rather than inside one.
  std::size_t keep = std::min<std::size_t>(name.size(), 48);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  std::random_device random;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%08x%04x.tmp", static_cast<unsigned>(random()),
                static_cast<unsigned>(random() & 0xFFFF));
  std::string temporary(1, '.');
  temporary.append(name, 0, keep).append(suffix);
  return temporary;
}

}  // namespace xpkit
