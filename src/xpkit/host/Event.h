// An event raised to the window's handlers, every parameter by reference: the raiser
// reads back what a handler changed.
#pragma once
#include <functional>
#include <vector>

namespace xpkit {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args&...)>;
  void Connect(Handler handler) { handlers_.push_back(std::move(handler)); }
  void Raise(Args&... args) {
    // A handler may connect another; iterate over the list as it was.
    const auto handlers = handlers_;
    for (const auto& h : handlers) h(args...);
  }

 private:
  std::vector<Handler> handlers_;
};

}  // namespace xpkit
