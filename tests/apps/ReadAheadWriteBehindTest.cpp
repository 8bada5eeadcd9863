// The codec tool's input read ahead and output written behind on threads of their own:
// every byte arrives once and in order whatever the piece sizes, the end is seen again
// and again, and a failing read or write is reported rather than lost.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "xpkit/files/FileError.h"
#include "codec/ReadAhead.h"
#include "codec/WriteBehind.h"

namespace xpkit::cli {
namespace {

namespace fs = std::filesystem;

class Pipeline : public ::testing::Test {
 protected:
  Pipeline() {
    std::string pattern = (fs::temp_directory_path() / "xpkit-pipe-XXXXXX").string();
    dir = ::mkdtemp(pattern.data());
    std::mt19937 rng(7);
    bytes.resize((5 << 20) + 12345);  // several blocks and a part of one
    for (char& b : bytes) b = static_cast<char>(rng());
  }
  ~Pipeline() override { fs::remove_all(dir); }
  static constexpr std::size_t kOneByteLast = (BlockQueue::kBlockSize << 1) + 1;
  fs::path dir;
  std::string bytes;
};

TEST_F(Pipeline, ReadAheadGivesEveryByteInOrderThenTheEndForEver) {
  // Nothing, a last block of one byte, whole blocks, and a part of one.
  for (const std::size_t size : {std::size_t{0}, kOneByteLast, std::size_t{2} << 20, bytes.size()}) {
    std::ofstream(dir / "in", std::ios::binary) << bytes.substr(0, size);
    InputFile in((dir / "in").string());
    ReadAhead ahead(in);
    std::string got;
    std::uint8_t buf[70001];
    for (std::size_t piece = 1; const std::size_t n = ahead.Read(buf, piece); piece = piece * 7 % sizeof buf + 1)
      got.append(reinterpret_cast<const char*>(buf), n);
    EXPECT_EQ(got, bytes.substr(0, size)) << size;
    EXPECT_EQ(ahead.Read(buf, sizeof buf), 0u);
    EXPECT_EQ(ahead.Read(buf, sizeof buf), 0u);
  }
}

TEST_F(Pipeline, ReadAheadGivesTheBytesBeforeAFailedReadThenItsError) {
  // This process's memory, from a page whose next page is unmapped: one page, then EIO.
  // The page after the hole stays mapped, so nothing else is put in it.
  const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  auto* pages = static_cast<std::uint8_t*>(::mmap(nullptr, 3 * pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  std::memcpy(pages, bytes.data(), pageSize);
  ASSERT_EQ(::munmap(pages + pageSize, pageSize), 0);
  InputFile mem("/proc/self/mem");
  ASSERT_GE(::lseek(mem.descriptor(), static_cast<off_t>(reinterpret_cast<std::uintptr_t>(pages)), SEEK_SET), 0);
  {
    ReadAhead ahead(mem);
    std::string got;
    std::uint8_t buf[1000];
    try {
      while (const std::size_t n = ahead.Read(buf, sizeof buf)) got.append(reinterpret_cast<const char*>(buf), n);
      ADD_FAILURE() << "the failed read was taken for the end";
    } catch (const FileError& e) {
      EXPECT_STREQ(e.what(), "/proc/self/mem: cannot read: Input/output error");
    }
    EXPECT_EQ(got, bytes.substr(0, pageSize));
    EXPECT_THROW(ahead.Read(buf, sizeof buf), FileError);  // and again, never the end
  }
  ::munmap(pages, pageSize);
  ::munmap(pages + 2 * pageSize, pageSize);
}

TEST_F(Pipeline, ReadAheadStopsEarlyWithoutWaitingForItsReader) {
  std::ofstream(dir / "in", std::ios::binary) << bytes;
  InputFile in((dir / "in").string());
  std::uint8_t buf[100];
  ReadAhead ahead(in);
  EXPECT_EQ(ahead.Read(buf, sizeof buf), sizeof buf);
}  // goes while its thread has blocks full and more to read

TEST_F(Pipeline, WriteBehindWritesEveryByteInOrder) {
  for (const std::size_t size : {std::size_t{1}, kOneByteLast, std::size_t{2} << 20, bytes.size()}) {
    {
      OutputFile out((dir / "out").string());
      WriteBehind behind(out);
      for (std::size_t at = 0, piece = 1; at < size; at += piece, piece = piece * 13 % 300007 + 1)
        behind.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, std::min(piece, size - at));
      behind.Finish();
      out.Commit();
    }
    std::ifstream f(dir / "out", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), bytes.substr(0, size)) << size;
  }
}

TEST_F(Pipeline, AFailedWriteIsReportedNotLost) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  OutputFile out("/dev/full");
  WriteBehind behind(out);
  // Reported by a later Write, not only at the end: once the queue's few blocks are
  // full, a Write waits for the failed one, so it is known by the next.
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  EXPECT_THROW(
      {
        for (int round = 0; round < 8; ++round) behind.Write(data, bytes.size());
      },
      FileError);
  EXPECT_THROW(behind.Finish(), FileError);
}

}  // namespace
}  // namespace xpkit::cli
