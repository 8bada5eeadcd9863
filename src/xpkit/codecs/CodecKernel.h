// Which kernels the codecs run: the scalar reference, AVX2, or AVX-512. The choice is
// a plain value that its owner makes once and passes on; nothing is cached globally.
#pragma once
#include <cstdint>

namespace xpkit {

enum class CodecKernel : std::uint8_t {
  Scalar,  // any CPU; the reference the others are checked against
  Avx2,
  Avx512,  // AVX-512 F, BW, VL, VBMI and VBMI2 (byte compress and permutes)
};

// Whether this CPU runs the kernel.
bool CpuRuns(CodecKernel kernel);

// The fastest kernel this CPU runs, or a slower one when the environment variable
// XPKIT_CODEC_KERNEL names it (scalar, avx2 or avx512; one the CPU lacks gives the
// fastest it has). The variable is read at every call. Any other value is an
// Error(BadUsage) naming it.
CodecKernel ChooseCodecKernel();

const char* Name(CodecKernel kernel);

}  // namespace xpkit
