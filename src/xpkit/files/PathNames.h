// Path work for output files: following symbolic links to the file that is written,
// and naming temporary files beside it.
#pragma once
#include <optional>
#include <string>

namespace xpkit {

// The path that writing to `path` reaches, as the shell's ">" would: symbolic links in
// the last component are followed, chains included, a relative target taken from the
// link's own folder. A dangling link gives the missing path its chain ends in; a loop
// or a chain too long gives nullopt. Only a name: the kernel's open judges the links,
// and the caller checks that the file this names is the one it opened.
std::optional<std::string> FollowLinks(const std::string& path);

// The folder part of `path` ("." for none) and its last component.
struct PathParts {
  std::string folder, name;
};
PathParts SplitPath(const std::string& path);

// A name for a hidden temporary file beside `name`: its start (enough to tell whose it
// is), a random part and ".tmp"; short enough for any file system, whatever `name` is.
std::string TemporaryName(const std::string& name);

}  // namespace xpkit
