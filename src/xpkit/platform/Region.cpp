#include "xpkit/platform/Region.h"

#include <algorithm>

#include "xpkit/platform/detail/PixelRules.h"

namespace xpkit {
namespace {

// Appends the parts of `a` outside `b` (at most four rectangles).
void SubtractRect(const RECT& a, const RECT& b, std::vector<RECT>& out) {
  const RECT i = pixel_rules::Intersection(a, b);
  if (pixel_rules::RectIsEmpty(i)) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.push_back({a.left, a.top, a.right, i.top});
  if (i.bottom < a.bottom) out.push_back({a.left, i.bottom, a.right, a.bottom});
  if (a.left < i.left) out.push_back({a.left, i.top, i.left, i.bottom});
  if (i.right < a.right) out.push_back({i.right, i.top, a.right, i.bottom});
}

}  // namespace

Region::Region(const RECT& r) {
  if (!pixel_rules::RectIsEmpty(r)) rects_.push_back(r);
}

bool Region::Contains(LONG x, LONG y) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; });
}

int Region::Complexity() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Bounds() const {
  if (rects_.empty()) return {};
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

Region Region::Intersect(const Region& other) const {
  Region out;
  for (const RECT& a : rects_)
    for (const RECT& b : other.rects_) {
      const RECT i = pixel_rules::Intersection(a, b);
      if (!pixel_rules::RectIsEmpty(i)) out.rects_.push_back(i);
    }
  return out;
}

Region Region::Subtract(const Region& other) const {
  std::vector<RECT> cur = rects_;
  for (const RECT& b : other.rects_) {
    std::vector<RECT> next;
    for (const RECT& a : cur) SubtractRect(a, b, next);
    cur.swap(next);
  }
  Region out;
  out.rects_ = std::move(cur);
  return out;
}

Region Region::Union(const Region& other) const {
  Region out = *this;
  const Region extra = other.Subtract(*this);
  out.rects_.insert(out.rects_.end(), extra.rects_.begin(), extra.rects_.end());
  return out;
}

Region Region::Xor(const Region& other) const { return Subtract(other).Union(other.Subtract(*this)); }

void Region::Offset(LONG dx, LONG dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

}  // namespace xpkit
