// A timer child: an interval in milliseconds and an enable switch; its ticks arrive on
// the GUI thread from the host's clock.
#pragma once
#include <cstdint>
#include <functional>
#include <utility>

namespace xpkit {

class Host;

class Timer {
 public:
  explicit Timer(Host& host);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  // What a tick runs: one handler, set by the timer's owner; a new one replaces it.
  void SetTickHandler(std::function<void()> handler) { tick_ = std::move(handler); }

  // For the host: fires the tick when due at `now` and schedules the next one.
  bool Due(std::int64_t now) const { return enabled_ && interval_ > 0 && now >= due_; }
  std::int64_t due() const { return due_; }
  void Fire(std::int64_t now);

 private:
  Host& host_;
  int interval_ = 0;
  bool enabled_ = false;
  std::int64_t due_ = 0;
  std::function<void()> tick_;
};

}  // namespace xpkit
