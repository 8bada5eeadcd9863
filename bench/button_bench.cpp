// The Exit button's costs: one whole repaint of 106 x 22 with its caption (target under
// 50 us), and a hover-timer tick with the pointer resting on the button, which must
// allocate nothing and create no pen, brush or region.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/host/Form.h"
#include "xpkit/platform/Gdi.h"

// The counting operator new below hands out malloc'd memory, which GCC cannot see
// through when it inlines a matching delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<std::size_t> g_allocations{0};

}  // namespace

void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct ExitButton {
  ExitButton() : form(host, "frmMain", 331, 154), input(host, form) {
    backend.echoToStderr = false;
    xpkit::PropertyBag bag;
    bag.WriteProperty("Caption", std::u16string(u"\u062E\u0631\u0648\u062C"));
    bag.WriteProperty("Font", xpkit::FontDesc{u"Tahoma", 8.25, 400, false, false, false, 178});
    bag.WriteProperty("ForeColor", xpkit::ColorValue{0x80000006});
    bag.WriteProperty("ForeHover", xpkit::ColorValue{0});
    button = &form.Add<xpkit::XPButton>("cmdExit", {1575, 1935, 1590, 330}, &bag);
    form.Show();
  }
  xpkit::HeadlessBackend backend;
  xpkit::Host host{backend};
  xpkit::Form form;
  xpkit::HeadlessDriver input;
  xpkit::XPButton* button = nullptr;
};

// Show is the notification that does nothing but repaint.
void BM_Repaint(benchmark::State& state) {
  ExitButton b;
  for (auto _ : state) b.button->OnShow();
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMicrosecond);

void BM_RepaintHover(benchmark::State& state) {
  ExitButton b;
  b.input.MoveTo(150, 138);
  for (auto _ : state) b.button->OnShow();
}
BENCHMARK(BM_RepaintHover)->Unit(benchmark::kMicrosecond);

void BM_HoverTickPointerResting(benchmark::State& state) {
  ExitButton b;
  b.input.MoveTo(150, 138);
  b.input.Advance(5);
  const std::size_t allocations = g_allocations.load();
  const std::size_t objects = b.host.session().gdi().CreatedObjectCount();
  std::int64_t ticks = 0;
  for (auto _ : state) {
    b.host.AdvanceClock(1);
    ++ticks;
  }
  const double n = static_cast<double>(ticks);
  state.counters["allocs/tick"] = static_cast<double>(g_allocations.load() - allocations) / n;
  state.counters["gdi_objects/tick"] = static_cast<double>(b.host.session().gdi().CreatedObjectCount() - objects) / n;
  if (!b.button->hoverTimer().Enabled()) state.SkipWithError("the hover timer stopped");
}
BENCHMARK(BM_HoverTickPointerResting)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
