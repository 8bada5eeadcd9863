// ASCII letter case, as the kit compares names and access keys: only A to Z change,
// whatever the code page, so a name reads the same on every system.
#pragma once

namespace xpkit {

template <class Ch>
constexpr Ch AsciiLower(Ch c) {
  return c >= Ch('A') && c <= Ch('Z') ? static_cast<Ch>(c - Ch('A') + Ch('a')) : c;
}

}  // namespace xpkit
