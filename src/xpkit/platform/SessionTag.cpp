#include "xpkit/platform/SessionTag.h"

#include <atomic>

#include "xpkit/Error.h"

namespace xpkit {
namespace {

// The tags of the live sessions, one bit each: the one piece of state the sessions of a
// process share, so that two never hand out the same handles.
std::atomic<std::uint64_t> g_liveTags[2];

}  // namespace

SessionTag::SessionTag() : value_(0) {
  for (std::uint32_t tag = 1; tag <= kMaxLive; ++tag) {
    std::atomic<std::uint64_t>& word = g_liveTags[tag / 64];
    const std::uint64_t bit = std::uint64_t{1} << (tag % 64);
    if ((word.fetch_or(bit) & bit) == 0) {
      value_ = tag;
      return;
    }
  }
  throw Error(ErrorCode::TooManySessions, {},
              "more than " + std::to_string(kMaxLive) + " sessions are alive at once");
}

SessionTag::~SessionTag() { g_liveTags[value_ / 64].fetch_and(~(std::uint64_t{1} << (value_ % 64))); }

}  // namespace xpkit
