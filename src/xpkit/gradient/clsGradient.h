// Paints a two-colour linear gradient at any angle over a window's client area by
// stroking parallel one-pixel lines, each with a pen of its own colour.
#pragma once
#include <cstdint>
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Host;

struct PointSingle {
  float x = 0, y = 0;
};

class clsGradient {
 public:
  // `host` shows the message boxes of the error paths.
  explicit clsGradient(Host& host) : host_(host) {}

  // Fills the client area of `hwnd` on `hDC`; true when the fill ran and drew lines.
  bool Draw(HWND hwnd, HDC hDC);
  // Fills `laRetColors` with `lSteps` colours (at least 2) from lColor1 toward lColor2.
  std::int32_t BlendColors(std::int32_t lColor1, std::int32_t lColor2, std::int32_t lSteps,
                           std::vector<std::int32_t>& laRetColors);

  void SetColor1(std::int32_t lData) { color1_ = Translate(lData); }
  std::int32_t Color1() const { return color1_; }
  void SetColor2(std::int32_t lData) { color2_ = Translate(lData); }
  std::int32_t Color2() const { return color2_; }
  // Stores the angle reduced to [0, 360) degrees, as single.
  void SetAngle(float fData);
  float Angle() const { return angle_; }

 private:
  std::int32_t DrawGradientLines(HDC hDC, std::int32_t width, std::int32_t height);
  static void RotatePoint(const PointSingle& centre, PointSingle& point, float degrees);
  static double SafeDivide(double a, double b) { return b == 0 ? 0 : a / b; }
  static std::int32_t Translate(std::int32_t lData);

  Host& host_;
  std::int32_t color1_ = 0x00FFFFD0;
  std::int32_t color2_ = 0x00400000;
  float angle_ = 315.0f;
};

}  // namespace xpkit
