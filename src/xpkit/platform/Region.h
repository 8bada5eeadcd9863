// A region: a set of pixels kept as disjoint rectangles.
#pragma once
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);

  bool Contains(LONG x, LONG y) const;
  bool Empty() const { return rects_.empty(); }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION, as region calls report it.
  int Complexity() const;
  RECT Bounds() const;
  const std::vector<RECT>& rects() const { return rects_; }

  Region Intersect(const Region& other) const;
  Region Union(const Region& other) const;
  Region Subtract(const Region& other) const;
  Region Xor(const Region& other) const;
  void Offset(LONG dx, LONG dy);

 private:
  std::vector<RECT> rects_;
};

}  // namespace xpkit
