#include "xpkit/codecs/CodecKernel.h"

#include <cstdlib>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/codecs/detail/Base64Avx2.h"
#include "xpkit/codecs/detail/Base64Avx512.h"
#include "xpkit/codecs/detail/TextBytesSimd.h"

namespace xpkit {
namespace {

// The scalar kernel's bulk is empty: its callers' own loops do all of the work.
std::size_t NoEncode(const std::uint8_t*, std::size_t, std::uint8_t*) { return 0; }
base64::Progress NoDecode(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t) { return {}; }
std::size_t NoToBytes(const char16_t*, std::size_t, std::uint8_t*, const CodePage&) { return 0; }
std::size_t NoToText(const std::uint8_t*, std::size_t, char16_t*, const CodePage&) { return 0; }
std::size_t NoStrip(const char16_t*, std::size_t, char16_t*, std::uint8_t*, std::size_t& kept) {
  kept = 0;
  return 0;
}

// Constants of the program, in read-only memory once relocated.
constexpr CodecKernels kScalar{CodecKernel::Scalar, NoEncode, NoEncode, NoDecode, NoToBytes, NoToText, NoStrip};
constexpr CodecKernels kAvx2{CodecKernel::Avx2,      base64::avx2::EncodeLines, base64::avx2::EncodeFlat,
                             base64::avx2::DecodeLines, textbytes::avx2::ToBytes, textbytes::avx2::ToText,
                             textbytes::avx2::StripBreaksToAscii};
constexpr CodecKernels kAvx512{CodecKernel::Avx512,      base64::avx512::EncodeLines, base64::avx512::EncodeFlat,
                               base64::avx512::DecodeLines, textbytes::avx512::ToBytes, textbytes::avx512::ToText,
                               textbytes::avx512::StripBreaksToAscii};

// The kernel asked for, or the fastest slower one that the CPU runs.
const CodecKernels& AtMost(CodecKernel wanted) {
  while (wanted != CodecKernel::Scalar && !CpuRuns(wanted))
    wanted = static_cast<CodecKernel>(static_cast<int>(wanted) - 1);
  return CodecKernels::Of(wanted);
}

}  // namespace

bool CpuRuns(CodecKernel kernel) {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();  // may run before the CPU model's own initializer
  switch (kernel) {
    case CodecKernel::Scalar: return true;
    case CodecKernel::Avx2: return __builtin_cpu_supports("avx2");
    case CodecKernel::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
             __builtin_cpu_supports("avx512vbmi2");
  }
  return false;
#else
  return kernel == CodecKernel::Scalar;
#endif
}

const char* Name(CodecKernel kernel) {
  switch (kernel) {
    case CodecKernel::Scalar: return "scalar";
    case CodecKernel::Avx2: return "avx2";
    case CodecKernel::Avx512: return "avx512";
  }
  return "?";
}

const CodecKernels& CodecKernels::Of(CodecKernel kernel) {
  switch (kernel) {
    case CodecKernel::Avx2: return kAvx2;
    case CodecKernel::Avx512: return kAvx512;
    case CodecKernel::Scalar: break;
  }
  return kScalar;
}

const CodecKernels& CodecKernels::Fastest() { return AtMost(CodecKernel::Avx512); }

const CodecKernels& CodecKernels::FromEnvironment() {
  const char* env = std::getenv("XPKIT_CODEC_KERNEL");
  if (!env || !*env) return Fastest();
  const std::string v(env);
  if (v == "scalar") return kScalar;
  if (v == "avx2") return AtMost(CodecKernel::Avx2);
  if (v == "avx512") return AtMost(CodecKernel::Avx512);
  throw Error(ErrorCode::BadUsage, "", "XPKIT_CODEC_KERNEL must be scalar, avx2 or avx512, not '" + v + "'");
}

}  // namespace xpkit
