// Peak memory of encode and decode of a 64 MiB text, against the size of input plus
// output. Each runs in a child process, so each peak is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"

namespace {

constexpr std::size_t kChars = 64u << 20;

long PeakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Runs `work` in a child; returns the child's peak growth in bytes over its start.
template <class Work>
double ChildPeak(Work work) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    const long before = PeakKiB();
    work();
    const double grown = static_cast<double>(PeakKiB() - before) * 1024;
    if (write(fds[1], &grown, sizeof grown) != sizeof grown) _exit(1);
    _exit(0);
  }
  close(fds[1]);  // a child that dies without a report gives end of file, not a hang
  double grown = -1;
  if (read(fds[0], &grown, sizeof grown) != sizeof grown) grown = -1;
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return grown;
}

}  // namespace

int main() {
  const xpkit::CodePage& cp = xpkit::SystemCodePage();
  xpkit::b64 codec;
  int status = 0;
  {
    const double peak = ChildPeak([&] {
      std::u16string text(kChars, u'\0');
      for (std::size_t i = 0; i < kChars; ++i) text[i] = cp.ToChar(static_cast<std::uint8_t>(i * 2654435761u >> 24));
      const std::u16string out = codec.encode(text);
      if (out.size() != xpkit::base64::EncodedLength(kChars)) _exit(1);
    });
    const double io = (kChars + 4.0 / 3 * kChars * 78 / 76) * sizeof(char16_t);
    std::printf("encode peak %.0f MiB, input+output %.0f MiB, ratio %.2f (target <= 3)\n", peak / 1048576, io / 1048576,
                peak / io);
    status |= peak / io > 3;
  }
  {
    const double peak = ChildPeak([&] {
      std::u16string text(kChars / 3 * 4, u'A');
      const std::u16string out = codec.decode(text);
      if (out.size() != kChars / 3 * 3) _exit(1);
    });
    const double io = (kChars * 4.0 / 3 + kChars) * sizeof(char16_t);
    std::printf("decode peak %.0f MiB, input+output %.0f MiB, ratio %.2f (target <= 3)\n", peak / 1048576, io / 1048576,
                peak / io);
    status |= peak / io > 3;
  }
  return status;
}
