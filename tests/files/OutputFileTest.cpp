// Output files as the shell's ">" writes them: links followed, owners and permissions
// kept, refusals, in-place writing where a new file can't take the old one's place,
// nothing replaced but the file that was opened, names of any length, and no temporary
// file left by a failure or a signal. Each case runs with an unnamed and with a named
// temporary file. (The kernel's own link checks are tried on every writer by
// tests/apps/protected_links.sh.)
#include "xpkit/files/OutputFile.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "xpkit/files/FileError.h"

namespace xpkit {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void Put(const fs::path& path, const std::string& bytes, OutputFile::Options options) {
  OutputFile out(path.string(), options);
  out.Write(bytes.data(), bytes.size());
  out.Commit();
}

struct stat Stat(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

std::string Reason(const std::function<void()>& f) {
  try {
    f();
  } catch (const FileError& e) {
    return e.what();
  }
  return "no FileError";
}

class OutputFileTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "xpkit-out-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    options.unnamedTemporary = GetParam();
  }
  void TearDown() override { fs::remove_all(dir); }
  // Everything in the folder, hidden files included, in order.
  std::vector<std::string> Entries(const fs::path& in) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(in)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> Entries() const { return Entries(dir); }

  fs::path dir;
  OutputFile::Options options;
};

TEST_P(OutputFileTest, AppearsWholeOnlyOnCommitAndNotAtAllWithout) {
  const fs::path out = dir / "out";
  {
    OutputFile file(out.string(), options);
    file.Write("new", 3);
    EXPECT_FALSE(fs::exists(out));
    if (file.way() == OutputFile::Way::NamedTemporary) {
      EXPECT_EQ(Entries().size(), 1u);
    }
    file.Commit();
  }
  EXPECT_EQ(Read(out), "new");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(Stat(out).st_mode & 07777, 0666 & ~mask);

  Write(out, std::string(1000, 'Z'));  // no stale bytes of a longer old file stay
  Put(out, "abc", options);
  EXPECT_EQ(Read(out), "abc");
  {
    OutputFile file(out.string(), options);
    file.Write("half", 4);
  }  // destroyed uncommitted: a failure part-way
  EXPECT_EQ(Read(out), "abc");
  EXPECT_EQ(Entries(), std::vector<std::string>{"out"});
}

TEST_P(OutputFileTest, ReservedRoomThatGoesUnusedIsGivenBack) {
  const fs::path out = dir / "out";
  OutputFile file(out.string(), options);
  file.Reserve(16 << 20);
  file.Write("abc", 3);
  file.Commit();
  EXPECT_EQ(fs::file_size(out), 3u);
  EXPECT_LT(Stat(out).st_blocks, 64);  // 512-byte blocks
}

TEST_P(OutputFileTest, FollowsSymbolicLinksAndLeavesThemLinks) {
  fs::create_directory(dir / "sub");
  Write(dir / "target", "old");
  fs::create_symlink("target", dir / "link1");
  fs::create_symlink("link1", dir / "link2");
  fs::create_symlink("../link2", dir / "sub" / "link3");  // relative to its own folder
  Put(dir / "sub" / "link3", "new", options);
  EXPECT_EQ(Read(dir / "target"), "new");
  for (const char* link : {"link1", "link2", "sub/link3"}) EXPECT_TRUE(fs::is_symlink(dir / link)) << link;

  fs::create_symlink(dir / "sub" / "made", dir / "dangling");  // absolute, to a missing file
  {
    OutputFile file((dir / "dangling").string(), options);
    file.Write("half", 4);
  }  // a failure: the file the link's target was made as goes again
  EXPECT_FALSE(fs::exists(dir / "sub" / "made"));
  Put(dir / "dangling", "made", options);
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(Read(dir / "sub" / "made"), "made");
  EXPECT_EQ(Entries(dir / "sub"), (std::vector<std::string>{"link3", "made"}));

  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  EXPECT_NE(Reason([&] { Put(dir / "loop1", "x", options); }).find("Too many levels of symbolic links"),
            std::string::npos);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"dangling", "link1", "link2", "loop1", "loop2", "sub", "target"}));
}

TEST_P(OutputFileTest, KeepsPermissionBitsButNeverSetUserOrGroupId) {
  const fs::path out = dir / "out";
  Write(out, "old");
  ::chmod(out.c_str(), 0640);
  Put(out, "new", options);
  EXPECT_EQ(Stat(out).st_mode & 07777, 0640u);
  ::chmod(out.c_str(), 06755);
  Put(out, "new", options);
  EXPECT_EQ(Stat(out).st_mode & 07777, 0755u);
}

TEST_P(OutputFileTest, KeepsAnotherUsersOwnershipWhenRootRewritesIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  const fs::path out = dir / "out";
  Write(out, "old");
  ASSERT_EQ(::chown(out.c_str(), 65534, 65534), 0);
  ::chmod(out.c_str(), 0600);
  OutputFile file(out.string(), options);
  EXPECT_NE(file.way(), OutputFile::Way::InPlace);
  file.Write("new", 3);
  file.Commit();
  const struct stat st = Stat(out);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(Read(out), "new");
}

TEST_P(OutputFileTest, WritesAFileWithOtherHardLinksInPlace) {
  const fs::path out = dir / "out";
  Write(out, "old content");
  fs::create_hard_link(out, dir / "other");
  ::chmod(out.c_str(), 04755);
  {
    OutputFile file(out.string(), options);
    EXPECT_EQ(file.way(), OutputFile::Way::InPlace);
  }  // nothing written: nothing changes
  EXPECT_EQ(Read(dir / "other"), "old content");
  Put(out, "new", options);
  EXPECT_EQ(Read(dir / "other"), "new");
  EXPECT_EQ(Stat(dir / "other").st_ino, Stat(out).st_ino);
  EXPECT_EQ(Stat(out).st_mode & 07777, 0755u);
  Put(out, "", options);  // empty output empties it, as ">" does
  EXPECT_EQ(Read(dir / "other"), "");
  Put(out, "new", options);
  OutputFile(out.string(), options).Commit();  // and so does no write at all
  EXPECT_EQ(Read(dir / "other"), "");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"other", "out"}));
}

// Only the file the kernel opened is replaced, and a new file takes only a name that is
// still free: what another program put there in the meantime is left as it is.
TEST_P(OutputFileTest, ReplacesNothingButWhatItOpened) {
  const fs::path out = dir / "out", fresh = dir / "fresh";
  Write(out, "old");
  {
    OutputFile file(out.string(), options);
    file.Write("new", 3);
    Write(dir / "theirs", "swapped in");
    fs::rename(dir / "theirs", out);
    EXPECT_EQ(Reason([&] { file.Commit(); }), out.string() + ": changed while this output was written, and is left as it is");
  }
  EXPECT_EQ(Read(out), "swapped in");
  {
    OutputFile file(fresh.string(), options);
    file.Write("new", 3);
    fs::create_symlink("out", fresh);
    EXPECT_EQ(Reason([&] { file.Commit(); }),
              fresh.string() + ": was made by someone else while this output was written, and is left as it is");
  }
  EXPECT_TRUE(fs::is_symlink(fresh));
  EXPECT_EQ(Read(out), "swapped in");
  // A dangling link's target, made by the open and then replaced by someone else: the
  // output given up leaves their file.
  fs::create_symlink("made", dir / "dangling");
  {
    OutputFile file((dir / "dangling").string(), options);
    Write(dir / "theirs", "theirs");
    fs::rename(dir / "theirs", dir / "made");
  }
  EXPECT_EQ(Read(dir / "made"), "theirs");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"dangling", "fresh", "made", "out"}));
}

// The file being read as the output: replacing it is fine, truncating it in place is not.
TEST_P(OutputFileTest, RefusesToTruncateTheInputInPlace) {
  const fs::path file = dir / "data";
  Write(file, "old content");
  const int input = ::open(file.c_str(), O_RDONLY);
  ASSERT_GE(input, 0);
  options.input = input;
  Put(file, "replaced", options);  // one link: a new file takes its place; the input stays readable
  char buf[16] = {};
  EXPECT_EQ(::read(input, buf, sizeof buf), 11);
  EXPECT_EQ(std::string(buf), "old content");
  ::close(input);

  fs::create_hard_link(file, dir / "other");
  options.input = ::open(file.c_str(), O_RDONLY);
  EXPECT_NE(Reason([&] { OutputFile out(file.string(), options); }).find("is also the input"), std::string::npos);
  ::close(options.input);
  EXPECT_EQ(Read(file), "replaced");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"data", "other"}));
}

TEST_P(OutputFileTest, TakesEveryNameTheFileSystemTakes) {
  std::string twoByte;  // 254 bytes of "é" and one more byte: no character is cut
  for (int i = 0; i < 127; ++i) twoByte += "\xC3\xA9";
  for (const std::string& name : {std::string(242, 'n'), std::string(250, 'n'), std::string(255, 'n'), twoByte + "x"}) {
    Put(dir / name, "x", options);
    EXPECT_EQ(Read(dir / name), "x") << name.size();
    Put(dir / name, "y", options);  // and replacing it
    EXPECT_EQ(Read(dir / name), "y") << name.size();
  }
  EXPECT_EQ(Entries().size(), 4u);
}

TEST_P(OutputFileTest, RefusalsNameTheFileAndTheReason) {
  fs::create_directory(dir / "adir");
  EXPECT_EQ(Reason([&] { Put(dir / "adir", "x", options); }), (dir / "adir").string() + ": cannot open for writing: Is a directory");
  EXPECT_EQ(Reason([&] { Put(dir / "adir/", "x", options); }), (dir / "adir/").string() + ": cannot open for writing: Is a directory");
  EXPECT_EQ(Reason([&] { Put(dir / "no" / "out", "x", options); }),
            (dir / "no" / "out").string() + ": cannot create: No such file or directory");
  fs::create_symlink("no/out", dir / "link");
  EXPECT_EQ(Reason([&] { Put(dir / "link", "x", options); }),
            (dir / "link").string() + " -> " + (dir / "no" / "out").string() + ": cannot create: No such file or directory");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"adir", "link"}));
}

// A write that fails part-way, here at the file size limit: the old file stays as it
// was and no temporary file is left.
TEST_P(OutputFileTest, AFailedWriteLeavesTheOldFileAndNothingElse) {
  const fs::path out = dir / "out";
  Write(out, "old");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 1 << 16;
  const auto handler = ::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string reason = Reason([&] { Put(out, std::string(1 << 17, 'x'), options); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, handler);
  EXPECT_EQ(reason, out.string() + ": cannot write: File too large");
  EXPECT_EQ(Read(out), "old");
  EXPECT_EQ(Entries(), std::vector<std::string>{"out"});
}

TEST_P(OutputFileTest, WritesDevicesAndStandardOutputAsTheyAre) {
  OutputFile null("/dev/null", options);
  EXPECT_EQ(null.way(), OutputFile::Way::Stream);
  null.Write("x", 1);
  null.Commit();
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  OutputFile full("/dev/full", options);
  EXPECT_EQ(Reason([&] { full.Write("x", 1); }), "/dev/full: cannot write: No space left on device");
  EXPECT_EQ(OutputFile("-", options).name(), "standard output");
  // A FIFO stays one, and its reader gets the bytes.
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string got;
  std::thread reader([&] { got = Read(fifo); });
  Put(fifo, "through", options);
  reader.join();
  EXPECT_EQ(got, "through");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// The signal handler: there only while a named temporary file is, and never over an
// action someone else chose.
TEST_P(OutputFileTest, CleanupHandlerIsThereOnlyWhileANamedTemporaryFileIs) {
  const auto handler = [](int sig) {
    struct sigaction now {};
    ::sigaction(sig, nullptr, &now);
    return now.sa_handler;
  };
  ::signal(SIGHUP, SIG_IGN);
  ASSERT_EQ(handler(SIGTERM), SIG_DFL);
  {
    OutputFile file((dir / "out").string(), options);
    const bool named = file.way() == OutputFile::Way::NamedTemporary;
    EXPECT_EQ(handler(SIGTERM) != SIG_DFL, named);
    EXPECT_EQ(handler(SIGINT) != SIG_DFL, named);
    EXPECT_EQ(handler(SIGHUP), SIG_IGN);
    file.Commit();
  }
  EXPECT_EQ(handler(SIGTERM), SIG_DFL);
  EXPECT_EQ(handler(SIGINT), SIG_DFL);
  EXPECT_EQ(handler(SIGHUP), SIG_IGN);
  ::signal(SIGHUP, SIG_DFL);
}

// A child writes part of an output and waits; the signal ends it as the signal would,
// and neither the output nor a temporary file is left, nor the file a dangling link's
// target was made as.
TEST_P(OutputFileTest, SignalsPartWayLeaveNothingBehind) {
  fs::create_symlink("made", dir / "dangling");
  for (const char* output : {"out", "dangling"}) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
      int ready[2], hold[2];
      ASSERT_EQ(::pipe(ready), 0);
      ASSERT_EQ(::pipe(hold), 0);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        OutputFile file((dir / output).string(), options);
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 4; ++i) file.Write(block.data(), block.size());
        const char way = static_cast<char>(file.way());
        char c;
        if (::write(ready[1], &way, 1) != 1 || ::read(hold[0], &c, 1) < 0) ::_exit(3);
        ::_exit(4);  // the signal never came
      }
      char way = 0;
      ASSERT_EQ(::read(ready[0], &way, 1), 1);
      ::kill(child, sig);
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      for (int fd : {ready[0], ready[1], hold[0], hold[1]}) ::close(fd);
      ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig << ", status " << status;
      EXPECT_EQ(WTERMSIG(status), sig);
      // SIGKILL can't be caught: only a new file written unnamed leaves nothing then; a
      // dangling link's target stays as the open made it, and a named temporary stays.
      if (sig == SIGKILL) {
        if (way == static_cast<char>(OutputFile::Way::UnnamedTemporary)) {
          std::vector<std::string> left{"dangling"};
          if (output == std::string("dangling")) left.push_back("made");
          EXPECT_EQ(Entries(), left);
        }
        for (const auto& name : Entries())
          if (name != "dangling") fs::remove(dir / name);
        continue;
      }
      EXPECT_EQ(Entries(), std::vector<std::string>{"dangling"}) << output << ", signal " << sig;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Temporaries, OutputFileTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

}  // namespace
}  // namespace xpkit
