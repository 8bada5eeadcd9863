// Which kernels the codecs run: the scalar reference, AVX2, or AVX-512. Each kernel is a
// constant table of functions, built into the program; a caller picks one table once
// (Fastest, FromEnvironment, or Of a kernel it names) and passes it on, and every call
// runs the functions of the table it is given. Nothing is chosen or cached globally.
#pragma once
#include <cstddef>
#include <cstdint>

#include "xpkit/codecs/Base64Kernel.h"

namespace xpkit {

class CodePage;

enum class CodecKernel : std::uint8_t {
  Scalar,  // any CPU; the reference the others are checked against
  Avx2,
  Avx512,  // AVX-512 F, BW, VL, VBMI and VBMI2 (byte compress and permutes)
};

// Whether this CPU runs the kernel.
bool CpuRuns(CodecKernel kernel);
const char* Name(CodecKernel kernel);

// The functions of one kernel. Each does the bulk of a buffer and returns how far it got
// (the scalar table's do nothing); the scalar code finishes the rest, so that all give
// the results of the scalar kernel. Loads and stores stay inside the buffers.
struct CodecKernels {
  CodecKernel kernel;
  // Whole 57-byte lines into 78 characters each (76 and CR LF); returns the bytes done.
  std::size_t (*encodeLines)(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);
  // Whole groups of three bytes into four characters each, with no line breaks.
  std::size_t (*encodeFlat)(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);
  // Whole groups of the characters other than CR and LF, writing no further than dst + room.
  base64::Progress (*decodeLines)(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t room);
  // Characters to bytes and back through a single-byte code page.
  std::size_t (*toBytes)(const char16_t* text, std::size_t n, std::uint8_t* bytes, const CodePage& codePage);
  std::size_t (*toText)(const std::uint8_t* bytes, std::size_t n, char16_t* text, const CodePage& codePage);
  // Returns the characters read; `kept` is set to those written (see TextBytes.h).
  std::size_t (*stripBreaksToAscii)(const char16_t* text, std::size_t n, char16_t* dst, std::uint8_t* ascii,
                                    std::size_t& kept);

  // The table of a kernel; call its functions only when CpuRuns(kernel).
  static const CodecKernels& Of(CodecKernel kernel);
  // The fastest kernel this CPU runs. Reads the CPU only.
  static const CodecKernels& Fastest();
  // The fastest kernel, or a slower one when the environment variable
  // XPKIT_CODEC_KERNEL names it (scalar, avx2 or avx512; one the CPU lacks gives the
  // fastest it has). Any other value is an Error(BadUsage) naming it: programs make
  // their table here once, at start, where that can be reported.
  static const CodecKernels& FromEnvironment();
};

}  // namespace xpkit
