// Output written as the shell's ">" would write it, yet never seen half-written where
// that can be avoided.
//
// "-" is standard output. Where the path names something, the kernel opens it first, as
// for ">" (write-only, created if missing, not truncated): it follows the symbolic
// links and applies its own checks (fs.protected_symlinks, protected_regular and
// protected_fifos refuse with "Permission denied"), and only the file that open reached
// is written or replaced; a dangling link creates its target. An existing device, FIFO
// or the like is written in place. A regular file is normally written to a temporary
// file in its folder and renamed over it on Commit(), after its data is on disk, and
// only while that name still holds the file that was opened; an old file's owner, group
// and permission bits pass to the new one (never set-user-ID or set-group-ID). A file
// the caller may not write is refused, unchanged.
//
// Where a new file cannot take the old one's place without changing what other names
// or owners see (a second hard link, a folder the caller may not write, an owner or
// group the caller cannot give away, a mount point) the file is written in place
// instead, through the descriptor the kernel opened: truncated at the first write, then
// written. That way is not atomic.
//
// A path that names nothing becomes a new file: an unnamed temporary file (O_TMPFILE)
// given the path's name on Commit(), which never replaces anything that appears there
// in the meantime. A named temporary file is used only where the file system has no
// unnamed ones; it is removed on SIGINT, SIGTERM and SIGHUP. SIGKILL leaves no
// temporary file behind, except a named one: always where the file system has no unnamed
// files, else only in the instant between naming a finished replacement of an existing
// file and renaming it over that file.
// Failures throw FileError naming the path and the reason.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

struct stat;

namespace xpkit {

class UniqueFd;  // files/detail/UniqueFd.h: a descriptor that closes itself

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
  // was (in place, what was written so far stays; a file its dangling link made goes).
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
  // A device and inode: which file a name held when it was opened.
  struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
  };

  void CreateNew(const std::string& path, bool unnamed);
  void OpenExisting(const std::string& path, const Options& options);
  void OpenFolder(const std::string& folder, const char* what);
  // Whether target_ in folder_ still names `file` itself (not a link to it).
  bool TargetIs(FileId file) const;
  // Opens a temporary file to take the old file's place, with its owner, group and
  // permissions; false where that cannot be done and the old file is written in place.
  bool OpenReplacement(const struct stat& old, bool unnamed);
  // 0, or the errno of the failure.
  int OpenTemporary(bool unnamed);
  void Truncate();
  void LinkUnnamed();
  void PlaceNew();
  void ReplaceOld();
  void DiscardTemporary();
  // The temporary file's name is gone (renamed away): it is no longer cleaned up.
  void ForgetTemporary();
  // DiscardTemporary(), and the file a dangling link made goes again.
  void Abandon();
  // The file a dangling link made is no longer removed on an interrupt or a failure
  // (it is the output now, or gone).
  void ForgetCreated();
  [[noreturn]] void Fail(const std::string& what, int error);
  [[noreturn]] void Refuse(const std::string& why);

  std::string name_;
  Way way_ = Way::Stream;
  std::unique_ptr<UniqueFd> fd_;      // what is written: the target itself, or the temporary file
  std::unique_ptr<UniqueFd> folder_;  // the target's folder
  std::string target_;                // the target's name in folder_
  std::string temporary_;             // a temporary file's name in folder_, while it has one
  FileId old_;                        // the file the kernel opened, which only may be replaced
  bool replaces_ = false;             // the temporary file goes over old_ (else: a new name)
  bool created_ = false;              // old_ was made by that open, through a dangling link
  int cleanupSlot_ = -1, createdSlot_ = -1;  // interrupt cleanup of temporary_ and of a created old_
  unsigned oldMode_ = 0;  // in place: the permission bits, set-user-ID and the like dropped on the first write
  bool truncated_ = false;
  bool committed_ = false;
  std::uint64_t written_ = 0, stored_ = 0;  // bytes written, and handed on to the disk
  std::uint64_t reserved_ = 0;
};

}  // namespace xpkit
