// Output written as the shell's ">" would write it, yet never seen half-written where
// that can be avoided.
//
// "-" is standard output. Symbolic links are followed to the file they end in (a
// dangling one creates it). An existing device, FIFO or the like is written in place.
// A regular file, new or old, is normally written to a temporary file in its folder
// and renamed over the target on Commit(), after its data is on disk; an old file's
// owner, group and permission bits pass to the new one (never set-user-ID or
// set-group-ID). A file the caller may not write is refused, unchanged.
//
// Where a new file cannot take the old one's place without changing what other names
// or owners see (a second hard link, a folder the caller may not write, an owner or
// group the caller cannot give away, a mount point) the file is written in place
// instead: truncated at the first write, then written. That way is not atomic.
//
// A temporary file is unnamed (O_TMPFILE) where the file system allows it, so even
// SIGKILL leaves nothing; a named one is removed on SIGINT, SIGTERM and SIGHUP.
// Failures throw FileError naming the path and the reason.
#pragma once
#include <cstdint>
#include <string>

#include "xpkit/platform/UniqueFd.h"

struct stat;

namespace xpkit {

class OutputFile {
 public:
  struct Options {
    bool unnamedTemporary = true;  // false always takes a named temporary file
    // A descriptor of the file the output is made from, or -1. Where that same file
    // would have to be written in place, the output is refused: truncating it would
    // destroy what is still to be read.
    int input = -1;
  };
  enum class Way { Stream, InPlace, UnnamedTemporary, NamedTemporary };

  explicit OutputFile(const std::string& path) : OutputFile(path, Options{}) {}
  OutputFile(const std::string& path, Options options);
  // Destroyed uncommitted, it removes its temporary file and leaves the target as it
  // was (in place, what was written so far stays).
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Sets aside room for about `bytes` of output, which makes storing it quicker; what
  // goes unused is given back on Commit(). Only a hint: it never fails.
  void Reserve(std::uint64_t bytes);
  void Write(const void* data, std::size_t n);
  // Makes the output the target's content, stored on disk.
  void Commit();

  Way way() const { return way_; }
  // The name messages use: the path (with the file its links end in), or "standard output".
  const std::string& name() const { return name_; }

 private:
  // Opens a temporary file to take the old file's place, with its owner, group and
  // permissions; false where that cannot be done and the old file is written in place.
  bool OpenReplacement(const struct stat& old, bool unnamed);
  // 0, or the errno of the failure.
  int OpenTemporary(bool unnamed);
  void Truncate();
  void LinkUnnamed();
  void Discard();
  [[noreturn]] void Fail(const std::string& what, int error);

  std::string name_;
  Way way_ = Way::Stream;
  UniqueFd fd_;            // what is written: the target itself, or the temporary file
  UniqueFd folder_;        // the target's folder
  std::string target_;     // the target's name in folder_
  std::string temporary_;  // a temporary file's name in folder_, while it has one
  int cleanupSlot_ = -1;
  unsigned oldMode_ = 0;  // in place: the permission bits, set-user-ID and the like dropped on the first write
  bool truncated_ = false;
  bool committed_ = false;
  std::uint64_t written_ = 0, stored_ = 0;  // bytes written, and handed on to the disk
  std::uint64_t reserved_ = 0;
};

}  // namespace xpkit
