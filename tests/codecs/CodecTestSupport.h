// Helpers for the codec kernel tests: the kernels this CPU runs, and buffers that end
// at an unmapped page, so that a kernel reading or writing one byte too far faults.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "xpkit/codecs/CodecKernel.h"

namespace xpkit::testing {

inline std::vector<CodecKernel> KernelsThisCpuRuns() {
  std::vector<CodecKernel> k;
  for (CodecKernel c : {CodecKernel::Scalar, CodecKernel::Avx2, CodecKernel::Avx512})
    if (CpuRuns(c)) k.push_back(c);
  return k;
}

// `n` elements of T ending right before a page that may not be touched.
template <class T>
class Guarded {
 public:
  explicit Guarded(std::size_t n) : n_(n) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    size_ = (n * sizeof(T) + page - 1) / page * page + page;
    base_ = static_cast<std::uint8_t*>(::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ::mprotect(base_ + size_ - page, page, PROT_NONE);
    data_ = reinterpret_cast<T*>(base_ + size_ - page - n * sizeof(T));
  }
  template <class Range>
  Guarded(const Range& from) : Guarded(from.size()) {
    if (n_) std::memcpy(data_, from.data(), n_ * sizeof(T));
  }
  ~Guarded() { ::munmap(base_, size_); }
  Guarded(const Guarded&) = delete;
  Guarded& operator=(const Guarded&) = delete;
  T* data() { return data_; }
  std::size_t size() const { return n_; }

 private:
  std::size_t n_, size_;
  std::uint8_t* base_;
  T* data_;
};

}  // namespace xpkit::testing
