// Value conventions of the controls' language: -1/0 Booleans, twips, OLE colours,
// round-half-even and single-precision storage, checked 32-bit conversion.
#pragma once
#include <cmath>
#include <cstdint>

#include "xpkit/Error.h"

namespace xpkit {

using VBBool = std::int16_t;
constexpr VBBool VbTrue = -1;
constexpr VBBool VbFalse = 0;
constexpr VBBool ToVBBool(bool b) { return b ? VbTrue : VbFalse; }

// An OLE colour: below 0x80000000 it is 0x00BBGGRR; with the high bit set the low
// bits name a system colour index.
using OLE_COLOR = std::uint32_t;

constexpr int kTwipsPerPixel = 15;

// Nearest integer, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// std::nearbyint honours the default rounding mode, which is round-to-nearest-even.
inline double RoundHalfEven(double x) { return std::nearbyint(x); }

// A length of whole screen pixels in twips, the unit of the kit's positions and sizes.
constexpr double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

// Whole screen pixels of a length in twips, at 15 twips per pixel.
inline int TwipsToPixels(double twips) { return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel)); }

// Storing a value as single rounds it to IEEE 754 binary32.
inline float ToSingle(double x) { return static_cast<float>(x); }

// Conversion to a 32-bit integer with rounding, failing with Overflow out of range.
inline std::int32_t CLng(double x) {
  const double r = RoundHalfEven(x);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw Error(ErrorCode::Overflow);
  return static_cast<std::int32_t>(r);
}

// Checked 32-bit addition and multiplication, failing with Overflow.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw Error(ErrorCode::Overflow);
  return r;
}
inline std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw Error(ErrorCode::Overflow);
  return r;
}

}  // namespace xpkit
