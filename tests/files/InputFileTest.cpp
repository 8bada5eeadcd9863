// Input files: what is missing, what can't be opened or read, and no descriptor kept by
// a failed open, here or in the codec's file operations.
#include "xpkit/files/InputFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "xpkit/codecs/b64.h"
#include "xpkit/files/FileError.h"

namespace xpkit {
namespace {

namespace fs = std::filesystem;

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

TEST(InputFile, MissingUnreadableAndStandardInput) {
  EXPECT_TRUE(InputFile("/nonexistent/xpkit-input").missing());
  EXPECT_EQ(InputFile("-").name(), "standard input");
  EXPECT_FALSE(InputFile("-").missing());
  try {
    InputFile dir("/");
    FAIL() << "a folder is no input";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "/: cannot read: Is a directory");
  }
}

TEST(InputFile, AFailedReadIsAnErrorNotTheEnd) {
  // A process's memory at address 0, where nothing is mapped, can't be read.
  InputFile mem("/proc/self/mem");
  std::uint8_t buf[16];
  try {
    mem.Read(buf, sizeof buf);
    FAIL() << "nothing is mapped at 0";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "/proc/self/mem: cannot read: Input/output error");
  }
}

TEST(InputFile, FailedOpensKeepNoDescriptor) {
  const std::string folder = fs::temp_directory_path().string();
  const std::size_t before = OpenDescriptors();
  const b64 codec;
  for (int i = 0; i < 100; ++i) {
    EXPECT_THROW(InputFile{folder}, FileError);
    EXPECT_THROW(codec.encodefile(folder, "/nonexistent/out"), FileError);
    EXPECT_THROW(codec.readfile(folder), FileError);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
}  // namespace xpkit
