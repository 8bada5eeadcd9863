// The codec tool's input read ahead and output written behind on threads of their own:
// every byte arrives once and in order whatever the piece sizes, the end is seen again
// and again, and a failing write is reported rather than lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "xpkit/apps/common/ReadAhead.h"
#include "xpkit/apps/common/WriteBehind.h"
#include "xpkit/platform/Error.h"

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
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  EXPECT_THROW(
      {
        for (int round = 0; round < 8; ++round) behind.Write(data, bytes.size());
        behind.Finish();
      },
      FileError);
}

}  // namespace
}  // namespace xpkit::cli
