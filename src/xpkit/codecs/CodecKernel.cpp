#include "xpkit/codecs/CodecKernel.h"

#include <cstdlib>
#include <string>

#include "xpkit/Error.h"

namespace xpkit {

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

CodecKernel ChooseCodecKernel() {
  CodecKernel wanted = CodecKernel::Avx512;
  if (const char* env = std::getenv("XPKIT_CODEC_KERNEL"); env && *env) {
    const std::string v(env);
    if (v == "scalar") wanted = CodecKernel::Scalar;
    else if (v == "avx2") wanted = CodecKernel::Avx2;
    else if (v != "avx512")
      throw Error(ErrorCode::BadUsage, "", "XPKIT_CODEC_KERNEL must be scalar, avx2 or avx512, not '" + v + "'");
  }
  while (wanted != CodecKernel::Scalar && !CpuRuns(wanted))
    wanted = static_cast<CodecKernel>(static_cast<int>(wanted) - 1);
  return wanted;
}

const char* Name(CodecKernel kernel) {
  switch (kernel) {
    case CodecKernel::Scalar: return "scalar";
    case CodecKernel::Avx2: return "avx2";
    case CodecKernel::Avx512: return "avx512";
  }
  return "?";
}

}  // namespace xpkit
