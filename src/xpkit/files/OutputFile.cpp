#include "xpkit/files/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "xpkit/files/FileError.h"
#include "xpkit/files/PathNames.h"
#include "xpkit/files/detail/InterruptCleanup.h"
#include "xpkit/files/detail/UniqueFd.h"

namespace xpkit {
namespace {

bool IsMountPoint(int folder, const std::string& name) {
  struct statx stx {};
  return ::statx(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &stx) == 0 &&
         (stx.stx_attributes_mask & stx.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
}

// How much written data may wait before the system is asked to start storing it.
constexpr std::uint64_t kWriteBackStep = 4 << 20;

std::string ProcPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

OutputFile::OutputFile(const std::string& path, Options options)
    : name_(path), fd_(std::make_unique<UniqueFd>()), folder_(std::make_unique<UniqueFd>()) {
  if (path == "-") {
    name_ = "standard output";
    fd_->reset(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0));
    if (!*fd_) Fail("cannot write", errno);
    return;
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) CreateNew(path, options.unnamedTemporary);
  else OpenExisting(path, options);
}

// Nothing is there, not even a link, so there is nothing for the kernel to judge: the
// file is made unnamed, and named at the end only if the name is still free.
void OutputFile::CreateNew(const std::string& path, bool unnamed) {
  PathParts parts = SplitPath(path);
  if (parts.name.empty()) Fail("cannot open for writing", EISDIR);
  target_ = std::move(parts.name);
  OpenFolder(parts.folder, "cannot create");
  if (const int error = OpenTemporary(unnamed)) Fail("cannot create", error);
}

void OutputFile::OpenExisting(const std::string& path, const Options& options) {
  // The first open is the kernel's, through the path as given, as for ">" (without the
  // truncation): it follows the links and judges them and the file they reach.
  struct stat before {};
  const bool missing = ::stat(path.c_str(), &before) != 0 && errno == ENOENT;
  UniqueFd opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666));
  const int openError = errno;
  const std::optional<std::string> target = FollowLinks(path);
  if (target && *target != path) name_ = path + " -> " + *target;
  if (!opened) Fail(openError == ENOENT ? "cannot create" : "cannot open for writing", openError);
  struct stat st {};
  if (::fstat(opened.get(), &st) != 0) Fail("cannot open for writing", errno);
  if (!S_ISREG(st.st_mode)) {  // a device or FIFO: replacing it would lose what it is
    *fd_ = std::move(opened);
    return;
  }
  old_ = {st.st_dev, st.st_ino};
  created_ = missing;  // a dangling link's target, made by that open
  if (!target) Fail("cannot open for writing", ELOOP);
  PathParts parts = SplitPath(*target);
  target_ = std::move(parts.name);
  OpenFolder(parts.folder, "cannot open for writing");
  // The name the links end in must hold the very file the kernel opened.
  if (!TargetIs(old_)) Refuse("changed while it was being opened, and is left as it is");
  if (created_) createdSlot_ = interrupt_cleanup::Register(folder_->get(), target_.c_str());

  replaces_ = OpenReplacement(st, options.unnamedTemporary);
  if (replaces_) return;
  struct stat in {};
  if (options.input >= 0 && ::fstat(options.input, &in) == 0 && in.st_dev == st.st_dev && in.st_ino == st.st_ino)
    Refuse("is also the input, and can only be written in place here, which would destroy the input before it is "
           "read");
  DiscardTemporary();
  *fd_ = std::move(opened);
  way_ = Way::InPlace;
  oldMode_ = st.st_mode & 07777;
}

void OutputFile::OpenFolder(const std::string& folder, const char* what) {
  // A folder the caller may search and write but not list can only be opened as a path.
  folder_->reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!*folder_ && errno == EACCES) folder_->reset(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!*folder_) Fail(what, errno);
}

bool OutputFile::TargetIs(FileId file) const {
  struct stat st {};
  return *folder_ && ::fstatat(folder_->get(), target_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
         st.st_dev == file.dev && st.st_ino == file.ino;
}

bool OutputFile::OpenReplacement(const struct stat& old, bool unnamed) {
  if (old.st_nlink > 1 || IsMountPoint(folder_->get(), target_)) return false;
  if (const int error = OpenTemporary(unnamed)) {
    if (error == EACCES || error == EPERM) return false;  // the folder takes no new file
    Fail("cannot create a temporary file beside it", error);
  }
  struct stat made {};
  if (::fstat(fd_->get(), &made) != 0) Fail("cannot create", errno);
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd_->get(), old.st_uid, old.st_gid) != 0)
    return false;  // an owner or group the caller cannot give away
  if (::fchmod(fd_->get(), old.st_mode & 0777) != 0) Fail("cannot set the permissions", errno);
  return true;
}

OutputFile::~OutputFile() {
  if (!committed_) Abandon();
}

int OutputFile::OpenTemporary(bool unnamed) {
  if (unnamed) {
    UniqueFd fd(::openat(folder_->get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    // It is linked in through /proc at the end (see LinkUnnamed); without /proc, or
    // where the file system has no unnamed files, a named one is used.
    if (fd && ::access(ProcPath(fd.get()).c_str(), F_OK) == 0) {
      *fd_ = std::move(fd);
      way_ = Way::UnnamedTemporary;
      return 0;
    }
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(target_);
    interrupt_cleanup::Deferred hold;
    UniqueFd fd(::openat(folder_->get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd) {
      if (errno == EEXIST) continue;
      return errno;
    }
    cleanupSlot_ = interrupt_cleanup::Register(folder_->get(), name.c_str());
    temporary_ = name;
    *fd_ = std::move(fd);
    way_ = Way::NamedTemporary;
    return 0;
  }
  return EEXIST;
}

void OutputFile::Truncate() {
  if (::ftruncate(fd_->get(), 0) != 0) Fail("cannot write", errno);
  // The kernel drops set-user-ID and set-group-ID on a write, but not for root.
  if (oldMode_ & (S_ISUID | S_ISGID)) ::fchmod(fd_->get(), oldMode_ & ~(S_ISUID | S_ISGID));
  truncated_ = true;
}

void OutputFile::Reserve(std::uint64_t bytes) {
  if (way_ == Way::Stream || way_ == Way::InPlace || bytes <= reserved_) return;  // in place: truncated anyway
  if (::fallocate(fd_->get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes)) == 0) reserved_ = bytes;
}

void OutputFile::Write(const void* data, std::size_t n) {
  if (way_ == Way::InPlace && !truncated_) Truncate();
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  for (std::size_t left = n; left > 0;) {
    const ssize_t w = ::write(fd_->get(), bytes, left);
    if (w < 0) {
      if (errno == EINTR) continue;
      Fail("cannot write", errno);
    }
    bytes += w;
    left -= static_cast<std::size_t>(w);
  }
  written_ += n;
  // Storing as it goes, rather than all in the final fsync(), overlaps the disk's work
  // with ours. Errors show up again in that fsync(), which reports them.
  if (way_ != Way::Stream && written_ - stored_ >= kWriteBackStep) {
    ::sync_file_range(fd_->get(), static_cast<off_t>(stored_), static_cast<off_t>(written_ - stored_),
                      SYNC_FILE_RANGE_WRITE);
    stored_ = written_;
  }
}

void OutputFile::Commit() {
  if (committed_) return;
  if (way_ == Way::InPlace && !truncated_) Truncate();
  // Space reserved past the end goes back (a truncation to the same size does that).
  if (reserved_ > written_ && ::ftruncate(fd_->get(), static_cast<off_t>(written_)) != 0) Fail("cannot write", errno);
  // The data is on disk before its name points to it (EINVAL: nothing to store, a pipe).
  if (way_ != Way::Stream && ::fsync(fd_->get()) != 0 && errno != EINVAL) Fail("cannot store", errno);
  // An unnamed file is linked in through its descriptor, so before it closes.
  if (way_ == Way::UnnamedTemporary) {
    if (replaces_) LinkUnnamed();
    else PlaceNew();
  }
  if (fd_->close() != 0) Fail("cannot write", errno);
  if (way_ == Way::NamedTemporary && !replaces_) PlaceNew();
  if (replaces_) ReplaceOld();
  ForgetCreated();  // (written in place)
  committed_ = true;
  // And the new name is on disk too (a folder opened only as a path cannot be synced).
  if (way_ != Way::Stream && way_ != Way::InPlace && ::fsync(folder_->get()) != 0 && errno != EINVAL &&
      errno != EBADF)
    throw FileError(name_, std::string("cannot store: ") + std::strerror(errno));
}

// Gives the unnamed file a temporary name, to be renamed over the target: linkat()
// cannot replace an existing file.
void OutputFile::LinkUnnamed() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(target_);
    interrupt_cleanup::Deferred hold;
    if (::linkat(AT_FDCWD, ProcPath(fd_->get()).c_str(), folder_->get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      cleanupSlot_ = interrupt_cleanup::Register(folder_->get(), name.c_str());
      temporary_ = name;
      return;
    }
    if (errno != EEXIST) Fail("cannot replace", errno);
  }
  Fail("cannot replace", EEXIST);
}

// Names a new file, which takes the name only while it is free: whatever appeared
// there since the output was opened stays.
void OutputFile::PlaceNew() {
  interrupt_cleanup::Deferred hold;
  if (way_ == Way::UnnamedTemporary) {
    if (::linkat(AT_FDCWD, ProcPath(fd_->get()).c_str(), folder_->get(), target_.c_str(), AT_SYMLINK_FOLLOW) == 0)
      return;
  } else if (::renameat2(folder_->get(), temporary_.c_str(), folder_->get(), target_.c_str(), RENAME_NOREPLACE) == 0) {
    ForgetTemporary();
    return;
  } else if (errno == EINVAL && ::linkat(folder_->get(), temporary_.c_str(), folder_->get(), target_.c_str(), 0) == 0) {
    DiscardTemporary();  // a file system without RENAME_NOREPLACE: a second link, and the first goes
    return;
  }
  if (errno == EEXIST) Refuse("was made by someone else while this output was written, and is left as it is");
  Fail("cannot create", errno);
}

// Renames the finished temporary file over the file the kernel opened, if the target's
// name still holds that file.
void OutputFile::ReplaceOld() {
  interrupt_cleanup::Deferred hold;
  if (!TargetIs(old_)) Refuse("changed while this output was written, and is left as it is");
  if (::renameat(folder_->get(), temporary_.c_str(), folder_->get(), target_.c_str()) != 0)
    Fail("cannot replace", errno);
  ForgetTemporary();
  ForgetCreated();
}

void OutputFile::DiscardTemporary() {
  fd_->reset();
  if (temporary_.empty()) return;
  interrupt_cleanup::Deferred hold;
  ::unlinkat(folder_->get(), temporary_.c_str(), 0);
  ForgetTemporary();
}

void OutputFile::ForgetTemporary() {
  interrupt_cleanup::Unregister(cleanupSlot_);
  cleanupSlot_ = -1;
  temporary_.clear();
}

void OutputFile::Abandon() {
  DiscardTemporary();
  if (!created_) return;
  interrupt_cleanup::Deferred hold;
  if (TargetIs(old_)) ::unlinkat(folder_->get(), target_.c_str(), 0);
  ForgetCreated();
}

void OutputFile::ForgetCreated() {
  interrupt_cleanup::Unregister(createdSlot_);
  createdSlot_ = -1;
  created_ = false;
}

void OutputFile::Fail(const std::string& what, int error) { Refuse(what + ": " + std::strerror(error)); }

void OutputFile::Refuse(const std::string& why) {
  Abandon();
  committed_ = true;
  throw FileError(name_, why);
}

}  // namespace xpkit
