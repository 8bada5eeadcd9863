// A long-running program keeps flat memory: nothing the host or a control does per
// property write is kept.
#include <malloc.h>

#include <gtest/gtest.h>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"

namespace xpkit {
namespace {

TEST(Memory, ACaptionWrittenAMillionTimesKeepsMemoryFlat) {
#ifdef XPKIT_SANITIZE
  GTEST_SKIP() << "the sanitizers' allocator holds freed blocks back, so heap use says nothing here";
#endif
  HeadlessBackend backend;
  Host host(backend);
  Form form(host, "frm", 200, 100);
  XPButton& button = form.Add<XPButton>("cmdOK", {150, 150, 1590, 330});
  form.Show();
  std::size_t notices = 0;
  host.PropertyChanged.Connect([&](UserControl*&, std::string_view&) { ++notices; });
  const auto inUse = [] { return static_cast<long long>(mallinfo2().uordblks); };
  for (int i = 0; i < 1000; ++i) button.SetCaption(i % 2 ? u"&OK" : u"&Cancel");
  const long long before = inUse();
  for (int i = 0; i < 1'000'000; ++i) button.SetCaption(i % 2 ? u"&OK" : u"&Cancel");
  // Keeping even one byte per write would show as a megabyte.
  EXPECT_LT(inUse() - before, 64 * 1024);
  EXPECT_EQ(notices, 1'001'000u);
}

}  // namespace
}  // namespace xpkit
