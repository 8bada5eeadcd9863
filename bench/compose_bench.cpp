// A real window's frame made ready for its surface: Enlarged of an 800 x 600 form at one,
// two and three surface pixels to a pixel, as a window on a plain or dense screen
// presents every frame. At one to one it is a plain copy of the picture.
#include <benchmark/benchmark.h>

#include "xpkit/host/Compositor.h"

namespace {

xpkit::Bitmap Frame() {
  xpkit::Bitmap image(800, 600);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.Set(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 7 + y * 13));
  return image;
}

void BM_Enlarged(benchmark::State& state) {
  const xpkit::Bitmap image = Frame();
  const int scale = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(xpkit::Enlarged(image, scale));
  state.SetBytesProcessed(state.iterations() * image.width() * image.height() * scale * scale * 4);
}
BENCHMARK(BM_Enlarged)->Arg(1)->Arg(2)->Arg(3);

}  // namespace

BENCHMARK_MAIN();
