#include "xpkit/host/Timer.h"

#include "xpkit/host/Host.h"

namespace xpkit {

Timer::Timer(Host& host) : host_(host) { host_.RegisterTimer(this); }
Timer::~Timer() { host_.UnregisterTimer(this); }

void Timer::SetInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  due_ = host_.Now() + interval_;
}

void Timer::SetEnabled(bool on) {
  if (on && !enabled_) due_ = host_.Now() + interval_;
  enabled_ = on;
}

void Timer::Fire(std::int64_t now) {
  // Ticks coalesce: one late tick, then the schedule restarts from now.
  due_ = now + interval_;
  if (tick_) tick_();
}

}  // namespace xpkit
