// Codec throughput: Base64 of texts and of bytes, RC4 against OpenSSL's RC4() on the same bytes.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/rc4.h>

#include <random>
#include <string>
#include <vector>

#include "codecs/Base64Bytes.h"
#include "codecs/Base64Kernel.h"
#include "codecs/RC4_Calc.h"
#include "codecs/b64.h"
#include "platform/CodePage.h"

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

void BM_b64_encode_text(benchmark::State& state) {
  xpkit::b64 codec;
  RandomText();  // made outside the timing
  for (auto _ : state) benchmark::DoNotOptimize(codec.encode(RandomText()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_b64_decode_text(benchmark::State& state) {
  xpkit::b64 codec;
  const std::u16string encoded = codec.encode(RandomText());
  for (auto _ : state) {
    state.PauseTiming();
    std::u16string ds = encoded;  // decode cleans its argument: a fresh copy each time
    state.ResumeTiming();
    benchmark::DoNotOptimize(codec.decode(ds));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

// The byte kernels the file operations stream through, on data already in memory.
void BM_b64_encode_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> out(xpkit::base64::EncodedLength(kSize));
  for (auto _ : state) {
    xpkit::base64::EncodeBytes(RandomBytes().data(), kSize, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_b64_decode_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> encoded(xpkit::base64::EncodedLength(kSize)), clean(encoded.size()), out(kSize + 3);
  xpkit::base64::EncodeBytes(RandomBytes().data(), kSize, encoded.data());
  for (auto _ : state) {
    const std::size_t n = xpkit::base64::StripLineBreaks(encoded.data(), encoded.size(), clean.data());
    xpkit::base64::DecodeBytes(clean.data(), n, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_rc4crypt_bytes(benchmark::State& state) {
  std::vector<std::uint8_t> out(kSize);
  const std::uint8_t key[] = "Secret key";
  for (auto _ : state) {
    xpkit::RC4_Calc::rc4crypt(RandomBytes().data(), kSize, key, sizeof key - 1, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_rc4crypt_text(benchmark::State& state) {
  RandomText();
  for (auto _ : state) benchmark::DoNotOptimize(xpkit::RC4_Calc::rc4crypt(RandomText(), u"Secret key"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_openssl_RC4(benchmark::State& state) {
  std::vector<std::uint8_t> out(kSize);
  const unsigned char key[] = "Secret key";
  for (auto _ : state) {
    RC4_KEY k;
    RC4_set_key(&k, sizeof key - 1, key);
    RC4(&k, kSize, RandomBytes().data(), out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

}  // namespace

BENCHMARK(BM_b64_encode_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_decode_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_encode_bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_b64_decode_bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rc4crypt_bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_openssl_RC4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rc4crypt_text)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
