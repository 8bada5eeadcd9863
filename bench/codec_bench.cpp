// Codec throughput on 64 MiB: Base64 of bytes (in the default line format and two
// others) and of texts (in the system code page and in UTF-8), RC4 of bytes and of
// texts, each printed beside its peer measured in the same run: memcpy of the same
// buffer for Base64 (the default format, or the system code page, for the others),
// OpenSSL's RC4() for RC4 of bytes, RC4 of bytes for RC4 of texts.
// XPKIT_CODEC_KERNEL=scalar|avx2|avx512 picks the kernels.
//
// Times are the thread's CPU time, not the wall clock: on a machine whose cores are
// shared, the wall clock counts the time other processes hold the core, and that made
// RC4 swing by half from run to run while its CPU time stayed within 1%.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/rc4.h>

#include <time.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "xpkit/codecs/Base64Bytes.h"
#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codecs/RC4_Calc.h"
#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"

namespace {

constexpr std::size_t kSize = 64u << 20;

const std::vector<std::uint8_t>& RandomBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> b(kSize);
    std::mt19937_64 rng(42);
    for (std::size_t i = 0; i < b.size(); i += 8) {
      const std::uint64_t v = rng();
      for (int k = 0; k < 8; ++k) b[i + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    return b;
  }();
  return bytes;
}

const std::u16string& RandomText() {
  static const std::u16string text = xpkit::SystemCodePage().Decode(
      std::string_view(reinterpret_cast<const char*>(RandomBytes().data()), RandomBytes().size()));
  return text;
}

// Throughput of each benchmark's last run, by name, for the ratios to its peer.
std::map<std::string, double>& Rates() {
  static std::map<std::string, double> rates;
  return rates;
}

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Times `body` (64 MiB of plain bytes or characters per call), with `prepare` run
// untimed before each call, and reports its throughput against `peer`'s.
template <class Body, class Prepare = void (*)()>
void Measure(benchmark::State& state, const char* name, const char* peer, Body body, Prepare prepare = [] {}) {
  double seconds = 0;
  for (auto _ : state) {
    prepare();
    const double t0 = ThreadSeconds();
    body();
    const double t = ThreadSeconds() - t0;
    state.SetIterationTime(t);
    seconds += t;
  }
  const double rate = static_cast<double>(state.iterations()) * kSize / seconds;
  Rates()[name] = rate;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
  if (peer && Rates().count(peer)) state.counters[std::string("x_") + peer] = rate / Rates()[peer];
}

void BM_memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> out(kSize);
  Measure(state, "memcpy", nullptr, [&] {
    std::memcpy(out.data(), RandomBytes().data(), kSize);
    benchmark::DoNotOptimize(out.data());
  });
}

// The byte kernels the file operations stream through, on data already in memory.
void BM_b64_encode_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> out(xpkit::base64::EncodedLength(kSize));
  const xpkit::CodecKernels& kernels = xpkit::CodecKernels::FromEnvironment();
  Measure(state, "encode_bytes", "memcpy", [&] {
    xpkit::base64::EncodeBytes(RandomBytes().data(), kSize, out.data(), kernels);
    benchmark::DoNotOptimize(out.data());
  });
}

// The other line formats: none at all, and LF after every 76 (coreutils' own), which
// encode flat and then cut the characters into lines.
void BM_b64_encode_bytes_lines(benchmark::State& state, xpkit::base64::LineFormat lines, const char* name) {
  std::vector<std::uint8_t> out(xpkit::base64::EncodedLength(kSize, lines));
  const xpkit::CodecKernels& kernels = xpkit::CodecKernels::FromEnvironment();
  Measure(state, name, "encode_bytes", [&] {
    xpkit::base64::EncodeBytes(RandomBytes().data(), kSize, out.data(), lines, kernels);
    benchmark::DoNotOptimize(out.data());
  });
}

// Decoding text with CR LF after every 76 characters, counted in decoded bytes.
void BM_b64_decode_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> encoded(xpkit::base64::EncodedLength(kSize));
  const xpkit::CodecKernels& kernels = xpkit::CodecKernels::FromEnvironment();
  xpkit::base64::EncodeBytes(RandomBytes().data(), kSize, encoded.data(), kernels);
  std::vector<std::uint8_t> out(xpkit::base64::DecodeRoom(encoded.size()));
  Measure(state, "decode_bytes", "memcpy", [&] {
    xpkit::base64::DecodeBytes(encoded.data(), encoded.size(), out.data(), kernels);
    benchmark::DoNotOptimize(out.data());
  });
}

void BM_b64_encode_text(benchmark::State& state) {
  const xpkit::b64 codec(xpkit::SystemCodePage(), xpkit::CodecKernels::FromEnvironment());
  RandomText();  // made outside the timing
  Measure(state, "encode_text", "memcpy", [&] { benchmark::DoNotOptimize(codec.encode(RandomText())); });
}

// The same text in UTF-8: two or three bytes for most of its characters, converted as a
// whole before and after the Base64 kernels.
void BM_b64_encode_text_utf8(benchmark::State& state) {
  const xpkit::b64 codec(xpkit::CodePage::Get(65001), xpkit::CodecKernels::FromEnvironment());
  RandomText();
  Measure(state, "encode_text_utf8", "encode_text", [&] { benchmark::DoNotOptimize(codec.encode(RandomText())); });
}

void BM_b64_decode_text_utf8(benchmark::State& state) {
  const xpkit::b64 codec(xpkit::CodePage::Get(65001), xpkit::CodecKernels::FromEnvironment());
  const std::u16string encoded = codec.encode(RandomText());
  std::u16string ds;
  Measure(state, "decode_text_utf8", "decode_text", [&] { benchmark::DoNotOptimize(codec.decode(ds)); },
          [&] { ds = encoded; });
}

// Counted in characters of the plain text.
void BM_b64_decode_text(benchmark::State& state) {
  const xpkit::b64 codec(xpkit::SystemCodePage(), xpkit::CodecKernels::FromEnvironment());
  const std::u16string encoded = codec.encode(RandomText());
  std::u16string ds;
  // decode cleans its argument: a fresh copy each time, not timed.
  Measure(state, "decode_text", "memcpy", [&] { benchmark::DoNotOptimize(codec.decode(ds)); }, [&] { ds = encoded; });
}

void BM_openssl_RC4(benchmark::State& state) {
  std::vector<std::uint8_t> out(kSize);
  const unsigned char key[] = "Secret key";
  Measure(state, "openssl_RC4", nullptr, [&] {
    RC4_KEY k;
    RC4_set_key(&k, sizeof key - 1, key);
    RC4(&k, kSize, RandomBytes().data(), out.data());
    benchmark::DoNotOptimize(out.data());
  });
}

void BM_rc4crypt_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> out(kSize);
  const std::uint8_t key[] = "Secret key";
  Measure(state, "rc4crypt_bytes", "openssl_RC4", [&] {
    xpkit::RC4_Calc::rc4crypt(RandomBytes().data(), kSize, key, sizeof key - 1, out.data());
    benchmark::DoNotOptimize(out.data());
  });
}

void BM_rc4crypt_text(benchmark::State& state) {
  RandomText();
  Measure(state, "rc4crypt_text", "rc4crypt_bytes",
          [&] { benchmark::DoNotOptimize(xpkit::RC4_Calc::rc4crypt(RandomText(), u"Secret key", xpkit::SystemCodePage(),
                                                                              xpkit::CodecKernels::FromEnvironment())); });
}

}  // namespace

BENCHMARK(BM_memcpy)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_encode_bytes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_b64_encode_bytes_lines, wrap0, xpkit::base64::LineFormat{0, false}, "encode_bytes_wrap0")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_b64_encode_bytes_lines, lf76, xpkit::base64::LineFormat{76, false}, "encode_bytes_lf76")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_decode_bytes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_encode_text)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_decode_text)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_encode_text_utf8)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_decode_text_utf8)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_openssl_RC4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rc4crypt_bytes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rc4crypt_text)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::AddCustomContext("codec kernel", xpkit::Name(xpkit::CodecKernels::FromEnvironment().kernel));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
