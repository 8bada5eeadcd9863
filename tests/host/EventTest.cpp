// Events: handlers in connection order, parameters by reference, and connections that
// take a handler off, at once or at the end of a scope.
#include <gtest/gtest.h>

#include <string>

#include "xpkit/host/Event.h"

namespace xpkit {
namespace {

TEST(Event, ConnectionsDisconnectAtOnceEvenInARaise) {
  Event<int> event;
  std::string calls;
  Connection first = event.Connect([&](int& v) {
    calls += "1";
    ++v;
  });
  Connection second;
  Connection added;
  event.Connect([&](int& v) {
    calls += "2";
    second.Disconnect();  // later in this raise: not called
    if (!added.Connected()) added = event.Connect([&](int&) { calls += "4"; });  // from the next raise on
    v *= 10;
  });
  second = event.Connect([&](int&) { calls += "3"; });
  int v = 1;
  event.Raise(v);
  EXPECT_EQ(v, 20);
  EXPECT_EQ(calls, "12");
  EXPECT_FALSE(second.Connected());

  Connection copy = first;
  copy.Disconnect();
  EXPECT_FALSE(first.Connected());
  event.Raise(v);
  EXPECT_EQ(calls, "1224");
  first.Disconnect();  // twice: nothing more
}

TEST(Event, ScopedConnectionsEndWithTheirScopeAndOutliveNothing) {
  Event<> event;
  int calls = 0;
  ScopedConnection kept;
  {
    ScopedConnection scoped = event.Connect([&] { ++calls; });
    event.Raise();
    kept = std::move(scoped);  // moved out: the scope's end leaves it connected
  }
  event.Raise();
  {
    ScopedConnection gone = event.Connect([&] { calls += 100; });
  }
  event.Raise();
  EXPECT_EQ(calls, 3);
  kept = event.Connect([&] { calls += 10; });  // the old handler goes
  event.Raise();
  EXPECT_EQ(calls, 13);

  Connection orphan;
  {
    Event<> shortLived;
    orphan = shortLived.Connect([] {});
  }
  EXPECT_FALSE(orphan.Connected());
  orphan.Disconnect();  // the event is gone: nothing to do
}

}  // namespace
}  // namespace xpkit
