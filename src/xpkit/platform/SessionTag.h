// The tag a session stamps into every handle it gives out, so that a handle of one
// session is a foreign handle to every other one alive at the same time.
#pragma once
#include <cstdint>

namespace xpkit {

class SessionTag {
 public:
  // Values 1 to kMaxLive; tag 0 is never given, so no handle is 0.
  static constexpr std::uint32_t kBits = 7;
  static constexpr std::uint32_t kMaxLive = (1u << kBits) - 1;

  // Takes a tag no live session holds; Error(TooManySessions) when all are taken.
  SessionTag();
  ~SessionTag();
  SessionTag(const SessionTag&) = delete;
  SessionTag& operator=(const SessionTag&) = delete;

  std::uint32_t value() const { return value_; }

 private:
  std::uint32_t value_;
};

}  // namespace xpkit
