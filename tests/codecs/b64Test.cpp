#include "xpkit/codecs/b64.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "xpkit/Error.h"
#include "xpkit/codepage/CodePage.h"
#include "codecs/Base64Reference.h"
#include "codecs/CodecTestSupport.h"

namespace xpkit {
namespace {

namespace fs = std::filesystem;

std::u16string Bytes(const std::string& s) { return SystemCodePage().Decode(s); }

// `n` bytes that take every value and don't repeat with any period a codec works in.
std::string Pattern(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
  return bytes;
}

ErrorCode CodeOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.code();
  }
  return ErrorCode{};
}

TEST(Base64, LineLengthsAndPadding) {
  b64 codec;
  EXPECT_EQ(codec.encode(u""), u"");
  EXPECT_EQ(codec.encode(u"A"), u"QQ==");
  EXPECT_EQ(codec.encode(u"AB"), u"QUI=");
  const std::u16string e57 = codec.encode(std::u16string(57, u'x'));
  EXPECT_EQ(e57.size(), 78u);
  EXPECT_EQ(e57.substr(76), u"\r\n");
  const std::u16string e58 = codec.encode(std::u16string(58, u'x'));
  EXPECT_EQ(e58.size(), 82u);
  EXPECT_EQ(e58.substr(76, 2), u"\r\n");
  EXPECT_EQ(e58.substr(80), u"==");
  EXPECT_EQ(codec.encode(std::u16string(58, u'x')), e58);  // the line counter starts afresh
}

TEST(Base64, DecodeRules) {
  b64 codec;
  std::u16string s = u"QQ";
  EXPECT_EQ(codec.decode(s), std::u16string(u"A\0\0", 3));  // a short group as if filled with "A"
  s = u"QQ==";
  EXPECT_EQ(codec.decode(s), u"A");
  s = u"QUI=";
  EXPECT_EQ(codec.decode(s), u"AB");
  s = u"QU\r\nI=\n";
  EXPECT_EQ(codec.decode(s), u"AB");
  EXPECT_EQ(s, u"QUI=");  // the caller's text loses its CR and LF
  s = u" QUI";            // a space takes a position and counts as 0
  EXPECT_EQ(codec.decode(s), Bytes("\x01\x05\x08"));
  s = u"QUJ==";  // the "==" ending shortens only the last group, "="
  EXPECT_EQ(codec.decode(s), Bytes(std::string("AB@\x00", 4)));
  s = u"\r\n\r\n";
  EXPECT_EQ(codec.decode(s), u"");
  s = u"==";  // padding alone still shortens its group
  EXPECT_EQ(codec.decode(s), std::u16string(1, u'\0'));
  s = u"=";
  EXPECT_EQ(codec.decode(s), std::u16string(2, u'\0'));
  s = u"QQ==\r\n\r\n";  // blank lines after the padding: the text still ends in "=="
  EXPECT_EQ(codec.decode(s), u"A");
  EXPECT_EQ(s, u"QQ==");
  // The same at lengths the vector kernels and the 16384-character blocks take part in.
  for (std::size_t n : {58, 301, 16385, 40001}) {
    const std::string bytes = Pattern(n);
    std::u16string ds = codec.encode(Bytes(bytes)) + u"\r\n\r\n\n";
    EXPECT_EQ(codec.decode(ds), Bytes(bytes)) << "length " << n;
  }
}

TEST(Base64, HelpersAndTheirErrors) {
  EXPECT_EQ(b64::dectobin(0), "00000000");
  EXPECT_EQ(b64::dectobin(200), "11001000");
  EXPECT_EQ(CodeOf([] { b64::dectobin(256); }), ErrorCode::InvalidProcedureCall);
  EXPECT_EQ(CodeOf([] { b64::dectobin(-3); }), ErrorCode::InvalidProcedureCall);
  EXPECT_EQ(b64::bintodec("00111111"), 63);
  EXPECT_EQ(CodeOf([] { b64::bintodec("1000000000000000"); }), ErrorCode::Overflow);
  EXPECT_EQ(b64::b64char(62), u"+");
  EXPECT_EQ(b64::b64char(64), u"");
  EXPECT_EQ(b64::b64char(-1), u"");
  EXPECT_EQ(b64::b64index(u"/"), 63);
  EXPECT_EQ(b64::b64index(u"="), 0);
  EXPECT_EQ(b64::b64index(u""), 0);
  EXPECT_EQ(b64::b64index(u"\u062E"), 0);
  const b64 codec(CodePage::Get(1256));
  EXPECT_EQ(CodeOf([&] { codec.strtobytes(u""); }), ErrorCode::SubscriptOutOfRange);
  EXPECT_EQ(codec.strtobytes(u"\u062E"), (std::vector<std::uint8_t>{0xCE}));
}

TEST(Base64, MatchesTheDigitAlgorithmOnRandomTexts) {
  std::mt19937 rng(1234);
  b64 codec;
  const CodePage& cp = SystemCodePage();
  for (int round = 0; round < 300; ++round) {
    const std::size_t n = round < 100 ? static_cast<std::size_t>(round) : rng() % 3000;
    std::u16string text(n, u'\0');
    for (auto& c : text) c = cp.ToChar(static_cast<std::uint8_t>(rng()));
    const std::u16string encoded = codec.encode(text);
    ASSERT_EQ(encoded, reference::Encode(text)) << "length " << n;
    std::u16string a = encoded, b = encoded;
    ASSERT_EQ(codec.decode(a), text);
    reference::Decode(b);
    ASSERT_EQ(a, b);
    // Arbitrary garbage decodes the same way in both.
    std::u16string junk(rng() % 40, u'\0');
    for (auto& c : junk) c = static_cast<char16_t>("AZaz09+/=\r\n \x01\xE9"[rng() % 15]);
    std::u16string j1 = junk, j2 = junk;
    ASSERT_EQ(codec.decode(j1), reference::Decode(j2)) << "junk of length " << junk.size();
  }
}

TEST(Base64, EveryKernelGivesTheScalarTextsAcrossBlockEdges) {
  // Lengths around the blocks the text API works in (3648 characters to encode, 16384
  // to decode), with breaks and "=" anywhere, and characters outside the code page.
  std::mt19937 rng(77);
  const CodePage& cp = CodePage::Get(1256);
  const b64 scalar(cp, CodecKernels::Of(CodecKernel::Scalar));
  for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{3647}, std::size_t{3648}, std::size_t{3649},
                        std::size_t{16383}, std::size_t{16384}, std::size_t{16385}, std::size_t{40000}}) {
    std::u16string text(n, u'\0');
    for (auto& c : text) c = rng() % 50 ? cp.ToChar(static_cast<std::uint8_t>(rng())) : static_cast<char16_t>(rng());
    std::u16string messy(n, u'\0');
    for (auto& c : messy) c = static_cast<char16_t>(u"QUJD+/09az=\r\n \u062E\xFFFF"[rng() % 16]);
    for (std::size_t at = 16384; at <= n + 1 && at >= 2; at += 16384) messy[at - 2] = u'\r', messy[at - 1] = u'\n';
    const std::u16string encoded = scalar.encode(text);
    std::u16string clean = messy;
    const std::u16string decoded = scalar.decode(clean);
    for (CodecKernel kernel : {CodecKernel::Avx2, CodecKernel::Avx512}) {
      if (!CpuRuns(kernel)) continue;
      const b64 codec(cp, CodecKernels::Of(kernel));
      ASSERT_EQ(codec.encode(text), encoded) << Name(kernel) << ", length " << n;
      std::u16string ds = messy;
      ASSERT_EQ(codec.decode(ds), decoded) << Name(kernel) << ", length " << n;
      ASSERT_EQ(ds, clean) << Name(kernel) << ", length " << n;
    }
  }
}

TEST(Base64, Utf8TextsAndWhatOtherCodePagesLose) {
  // "ß" is not in 1256: it goes in as "?", and the caller can tell.
  LostCharacters lost;
  EXPECT_EQ(b64(CodePage::Get(1256)).encode(u"Gr\u00FC\u00DFe", lost), u"R3L8P2U=");
  EXPECT_EQ(lost.count, 1u);
  EXPECT_EQ(lost.first, 3u);
  lost = {};
  EXPECT_EQ(b64(CodePage::Get(1252)).encode(u"Gr\u00FC\u00DFe", lost), u"R3L832U=");
  const b64 utf8(CodePage::Get(65001));
  EXPECT_EQ(utf8.encode(u"Gr\u00FC\u00DFe", lost), u"R3LDvMOfZQ==");
  std::u16string ds = u"R3LDvMOf\r\nZQ==";
  EXPECT_EQ(utf8.decode(ds, lost), u"Gr\u00FC\u00DFe");
  EXPECT_FALSE(lost) << lost.Describe(utf8.codePage());
  EXPECT_EQ(utf8.strtobytes(u"\u00DF").size(), 2u);
  // Bytes that are no UTF-8 text decode to U+FFFD.
  ds = u"R3L/ZQ==";
  EXPECT_EQ(utf8.decode(ds, lost), u"Gr\uFFFDe");
  EXPECT_EQ(lost.Describe(utf8.codePage()), "byte 3, 0xFF, is not UTF-8 text");
}

TEST(Base64, Utf8TextsAcrossBlockEdgesOnEveryKernel) {
  // Characters of one to four bytes at lengths around the 3648-byte blocks of the text
  // API: the Base64 of their bytes, which 1252 (a character for every byte) also gives,
  // and back.
  std::mt19937 rng(78);
  const CodePage& utf8 = CodePage::Get(65001);
  const CodePage& bytes = CodePage::Get(1252);
  const b64 reference(bytes, CodecKernels::Of(CodecKernel::Scalar));
  for (std::size_t n : {0, 1, 1215, 1216, 1217, 3647, 3648, 3649, 20000}) {
    std::u16string text;
    while (text.size() < n) {
      const std::u16string pick[] = {u"a", u"\r\n", u"\u00DF", u"\u062E", u"\u20AC", u"\U0001F600"};
      text += pick[rng() % 6];
    }
    const std::u16string expected = reference.encode(bytes.Decode(utf8.Encode(text)));
    for (CodecKernel kernel : testing::KernelsThisCpuRuns()) {
      LostCharacters lost;
      const b64 codec(utf8, CodecKernels::Of(kernel));
      std::u16string encoded = codec.encode(text, lost);
      ASSERT_EQ(encoded, expected) << Name(kernel) << ", length " << n;
      ASSERT_EQ(codec.decode(encoded, lost), text) << Name(kernel) << ", length " << n;
      ASSERT_FALSE(lost) << Name(kernel) << ", length " << n;
      const b64 oneLine(utf8, CodecKernels::Of(kernel), {0, false});
      ASSERT_EQ(oneLine.encode(text), encoded) << Name(kernel) << ", length " << n;  // decode cleaned it
    }
  }
}

class Base64Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("xpkit-b64-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
  fs::path dir;
  b64 codec;
};

TEST_F(Base64Files, RoundTripReproducesEveryByteInBothCodePages) {
  std::string all;
  for (int rep = 0; rep < 50; ++rep)
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  Write(Path("in"), all);
  for (int cpNumber : {1252, 1256}) {
    const b64 paged(CodePage::Get(cpNumber));
    paged.encodefile(Path("in"), Path("enc"));
    std::u16string text = paged.readfile(Path("enc"));
    EXPECT_EQ(text, paged.encode(paged.codePage().Decode(all)));
    paged.decodefile(Path("enc"), Path("out"));
    EXPECT_EQ(Read(Path("out")), all) << "code page " << cpNumber;
  }
  EXPECT_EQ(Entries(), 3u);  // no temporary files left behind
}

TEST_F(Base64Files, PaddingFollowedByBlankLinesStaysTheEnd) {
  Write(Path("short"), "QQ==\r\n\r\n");
  codec.decodefile(Path("short"), Path("out"));
  EXPECT_EQ(Read(Path("out")), "A");
  // Longer than a read block (131072 bytes), and with the blank lines in a block of their
  // own: a text of 1680 lines and 28 characters (95781 bytes), then "QQ==" to end the block.
  const std::string bytes = Pattern(100'001);
  Write(Path("in"), bytes);
  codec.encodefile(Path("in"), Path("enc"));
  const std::string encoded = Read(Path("enc"));
  Write(Path("enc"), encoded + "\r\n\r\n");
  codec.decodefile(Path("enc"), Path("out"));
  EXPECT_EQ(Read(Path("out")), bytes);
  Write(Path("enc"), encoded.substr(0, 1680 * 78 + 28) + "QQ==" + std::string(50, '\n'));
  codec.decodefile(Path("enc"), Path("out"));
  EXPECT_EQ(Read(Path("out")), bytes.substr(0, 95781) + "A");
}

TEST_F(Base64Files, ShorterOutputReplacesALongerOldFileWhole) {
  Write(Path("out"), std::string(1000, 'Z'));
  Write(Path("in"), "abc");
  codec.encodefile(Path("in"), Path("out"));
  EXPECT_EQ(Read(Path("out")), "YWJj");
}

TEST_F(Base64Files, EmptyOrMissingInputFailsAndLeavesTheOutputAlone) {
  Write(Path("out"), "old");
  Write(Path("empty"), "");
  Write(Path("breaks"), "\r\n\r\n");
  EXPECT_EQ(CodeOf([&] { codec.encodefile(Path("empty"), Path("out")); }), ErrorCode::SubscriptOutOfRange);
  EXPECT_EQ(CodeOf([&] { codec.encodefile(Path("nothere"), Path("out")); }), ErrorCode::SubscriptOutOfRange);
  EXPECT_EQ(CodeOf([&] { codec.decodefile(Path("breaks"), Path("out")); }), ErrorCode::SubscriptOutOfRange);
  EXPECT_EQ(Read(Path("out")), "old");
  EXPECT_EQ(Entries(), 3u);
  EXPECT_EQ(codec.readfile(Path("nothere")), u"");
}

TEST_F(Base64Files, UnreadableInputAndUnwritableOutputNameTheFile) {
  fs::create_directory(dir / "adir");
  try {
    codec.encodefile(Path("adir"), Path("out"));
    FAIL() << "a directory is not readable as a file";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::FileAccess);
    EXPECT_NE(std::string(e.what()).find("adir"), std::string::npos);
  }
  EXPECT_EQ(CodeOf([&] { codec.readfile(Path("adir")); }), ErrorCode::FileAccess);
  // A read that fails (nothing is mapped at address 0) is no end of the input.
  for (const auto& operation : {&b64::encodefile, &b64::decodefile})
    EXPECT_EQ(CodeOf([&] { (codec.*operation)("/proc/self/mem", Path("out")); }), ErrorCode::FileAccess);
  EXPECT_EQ(CodeOf([&] { codec.readfile("/proc/self/mem"); }), ErrorCode::FileAccess);
  Write(Path("in"), "abc");
  EXPECT_EQ(CodeOf([&] { codec.encodefile(Path("in"), Path("no/such/dir/out")); }), ErrorCode::FileAccess);
  EXPECT_FALSE(fs::exists(dir / "out"));
}

TEST(Base64Streams, DecodeAgreesWithDecodeWhereverTheReadBlocksEnd) {
  // Texts whose length falls on, just before and just after a power-of-two read block,
  // handed over in uneven pieces, ending in padding, a short group or a line break.
  b64 codec;
  const CodePage& cp = SystemCodePage();
  std::mt19937 rng(7);
  for (std::size_t block : {std::size_t{1} << 17, std::size_t{1} << 18})
    for (std::size_t n = block - 3; n <= block + 3; ++n)
      for (const char* end : {"==", "=", "Q", "\r\n"}) {
        std::string text(n, 'A');
        for (std::size_t i = 0; i < n; ++i) text[i] = (i % 78 == 76) ? '\r' : (i % 78 == 77) ? '\n' : "QUJD+/09"[rng() % 8];
        text.replace(n - std::strlen(end), std::strlen(end), end);
        std::string streamed;
        std::size_t at = 0;
        DecodeStream(
            [&](std::uint8_t* d, std::size_t c) {
              const std::size_t k = std::min({c, text.size() - at, std::size_t{1} + rng() % 100000});
              std::memcpy(d, text.data() + at, k);
              at += k;
              return k;
            },
            [&](const std::uint8_t* d, std::size_t k) { streamed.append(reinterpret_cast<const char*>(d), k); },
            codec.kernels());
        std::u16string ds = cp.Decode(text);
        ASSERT_EQ(streamed, cp.Encode(codec.decode(ds))) << "length " << n << ", ending " << end;
      }
}

}  // namespace
}  // namespace xpkit
