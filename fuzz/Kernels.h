// The codec kernels this CPU runs, for fuzz targets that compare them with each other.
#pragma once
#include <vector>

#include "xpkit/codecs/CodecKernel.h"

inline const std::vector<xpkit::CodecKernel>& KernelsThisCpuRuns() {
  static const std::vector<xpkit::CodecKernel> kernels = [] {
    std::vector<xpkit::CodecKernel> k;
    for (auto c : {xpkit::CodecKernel::Scalar, xpkit::CodecKernel::Avx2, xpkit::CodecKernel::Avx512})
      if (xpkit::CpuRuns(c)) k.push_back(c);
    return k;
  }();
  return kernels;
}
