// An event raised to the window's handlers, every parameter by reference: the raiser
// reads back what a handler changed. Connecting gives a Connection that can take the
// handler off again; a ScopedConnection does so when it goes out of scope.
#pragma once
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace xpkit {

namespace detail {
struct EventSlot {
  bool connected = true;
};
}  // namespace detail

// A handler's place in an event. Copies refer to the same handler; one outliving the
// event (or default-made) disconnects nothing.
class Connection {
 public:
  Connection() = default;
  explicit Connection(std::weak_ptr<detail::EventSlot> slot) : slot_(std::move(slot)) {}
  // The handler is not called again, not even later in a raise that is under way.
  void Disconnect() {
    if (const auto s = slot_.lock()) s->connected = false;
  }
  bool Connected() const {
    const auto s = slot_.lock();
    return s && s->connected;
  }

 private:
  std::weak_ptr<detail::EventSlot> slot_;
};

// Disconnects its handler when it goes out of scope or is given another one.
class ScopedConnection {
 public:
  ScopedConnection() = default;
  // Implicit, so that `ScopedConnection c = event.Connect(...)` reads as it should.
  ScopedConnection(Connection c) : connection_(std::move(c)) {}
  ScopedConnection(ScopedConnection&& other) noexcept : connection_(std::exchange(other.connection_, {})) {}
  ScopedConnection& operator=(ScopedConnection&& other) noexcept {
    if (this != &other) {
      connection_.Disconnect();
      connection_ = std::exchange(other.connection_, {});
    }
    return *this;
  }
  ScopedConnection(const ScopedConnection&) = delete;
  ScopedConnection& operator=(const ScopedConnection&) = delete;
  ~ScopedConnection() { connection_.Disconnect(); }
  void Disconnect() { connection_.Disconnect(); }
  bool Connected() const { return connection_.Connected(); }

 private:
  Connection connection_;
};

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args&...)>;
  Connection Connect(Handler handler) {
    std::erase_if(slots_, [](const auto& s) { return !s->connected; });
    slots_.push_back(std::make_shared<Slot>(std::move(handler)));
    return Connection(slots_.back());
  }
  void Raise(Args&... args) {
    // A handler may connect another, called from the next raise on: iterate over the
    // list as it was.
    const auto slots = slots_;
    for (const auto& s : slots)
      if (s->connected) s->handler(args...);
  }

 private:
  struct Slot : detail::EventSlot {
    explicit Slot(Handler h) : handler(std::move(h)) {}
    Handler handler;
  };
  std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace xpkit
