#include "xpkit/gradient/clsGradient.h"

#include <cmath>
#include <new>
#include <stdexcept>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"
#include "xpkit/platform/VbTypes.h"

namespace xpkit {
namespace {

std::u16string Widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The description an error shows in a message box.
std::string DescriptionOf(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) return Describe(ErrorCode::OutOfMemory);
  if (dynamic_cast<const std::out_of_range*>(&e)) return Describe(ErrorCode::SubscriptOutOfRange);
  if (dynamic_cast<const std::length_error*>(&e)) return Describe(ErrorCode::OutOfMemory);
  return e.what();
}

// The reduction shared by the Angle setter and the line angle: x - floor(floor(x/360)*360).
float ReduceDegrees(double x) { return ToSingle(x - std::floor(std::floor(x / 360.0) * 360.0)); }

constexpr std::size_t kPointBlock = 1000;

}  // namespace

std::int32_t clsGradient::Translate(std::int32_t lData) {
  if (lData < 0) {
    const std::int32_t index = lData & 0x7FFFFFFF;
    if (index <= 24) return static_cast<std::int32_t>(GetSysColor(index));
  }
  return lData;
}

void clsGradient::SetAngle(float fData) { angle_ = ReduceDegrees(static_cast<double>(fData)); }

bool clsGradient::Draw(HWND hwnd, HDC hDC) {
  bool result = false;
  User& user = host_.session().user();
  try {
    user.LockWindowUpdate(hwnd);
    RECT rect{};
    if (user.GetClientRect(hwnd, &rect) && rect.right > 1 && rect.bottom > 1)
      result = DrawGradientLines(hDC, rect.right, rect.bottom) > 0;
  } catch (const std::exception& e) {
    host_.MsgBox(Widen(DescriptionOf(e)));
  }
  user.LockWindowUpdate(0);  // on every path
  return result;
}

std::int32_t clsGradient::BlendColors(std::int32_t lColor1, std::int32_t lColor2, std::int32_t lSteps,
                                      std::vector<std::int32_t>& laRetColors) {
  const std::int32_t n = lSteps < 2 ? 2 : lSteps;
  const std::int32_t r1 = lColor1 & 0xFF, g1 = (lColor1 & 0xFF00) / 256, b1 = (lColor1 & 0xFF0000) / 65536;
  const std::int32_t r2 = lColor2 & 0xFF, g2 = (lColor2 & 0xFF00) / 256, b2 = (lColor2 & 0xFF0000) / 65536;
  const double steps = ToSingle(n);
  const float rStep = ToSingle(SafeDivide(ToSingle(r2 - r1), steps));
  const float gStep = ToSingle(SafeDivide(ToSingle(g2 - g1), steps));
  const float bStep = ToSingle(SafeDivide(ToSingle(b2 - b1), steps));
  laRetColors.assign(static_cast<std::size_t>(n), 0);
  laRetColors[0] = lColor1;
  laRetColors[static_cast<std::size_t>(n) - 1] = lColor2;
  for (std::int32_t i = 1; i <= n - 2; ++i) {
    const double fi = ToSingle(i);
    const std::int32_t g = CLng(fi * gStep + g1);
    const std::int32_t r = CLng(fi * rStep + r1);
    const std::int32_t b = CLng(fi * bStep + b1);
    laRetColors[static_cast<std::size_t>(i)] = CheckedAdd(CheckedAdd(r, CheckedMul(256, g)), CheckedMul(65536, b));
  }
  return n;
}

void clsGradient::RotatePoint(const PointSingle& centre, PointSingle& point, float degrees) {
  // The factor is 3.14159265358979 / 180 as the double nearest to it, not exact pi/180.
  const double rad = ToSingle(static_cast<double>(degrees) * 0.017453292519943278);
  const double dx = ToSingle(static_cast<double>(point.x) - centre.x);
  const double dy = ToSingle(static_cast<double>(point.y) - centre.y);
  point.x = ToSingle(dy * std::sin(rad) + dx * std::cos(rad) + centre.x);
  point.y = ToSingle(centre.y - (dx * std::sin(rad) - dy * std::cos(rad)));
}

std::int32_t clsGradient::DrawGradientLines(HDC hDC, std::int32_t width, std::int32_t height) {
  std::int32_t result = 0;
  PointSingle p[3];  // 0 and 1: the template line's ends; 2: the centre
  float ox = 0, oy = 0;
  std::int32_t sx = 0, sy = 0, k = 0, j = 0;
  std::vector<POINT> points;
  std::vector<std::int32_t> colors;

  // Each step traps its own errors: the message box, a result of 0, then the next step.
  // A failing loop leaves its step, so nothing fails over and over.
  auto step = [&](auto&& body) {
    try {
      body();
    } catch (const std::exception& e) {
      host_.MsgBox(Widen(DescriptionOf(e)), u"GradientRect");
      result = 0;
    }
  };

  step([&] {  // the centre, and a template line through it long enough to cross the area
    p[2] = {ToSingle(std::floor(width / 2.0)), ToSingle(std::floor(height / 2.0))};
    const double m = ToSingle(width > height ? width : height);
    const float r = ToSingle((std::sqrt(m * m + m * m) + 2) / 2);
    p[0] = {ToSingle(static_cast<double>(p[2].x) - r), p[2].y};
    p[1] = {ToSingle(static_cast<double>(r) + p[2].x), p[2].y};
  });
  step([&] {  // turn the template perpendicular to the gradient
    const float s = angle_ + 90.0f;
    const float theta = ReduceDegrees(s);
    RotatePoint(p[2], p[0], theta);
    RotatePoint(p[2], p[1], theta);
  });
  step([&] {  // the offset to just outside the starting edge, and the step
    const float a = angle_;
    const bool steep = ToSingle(std::fabs(static_cast<double>(p[0].y) - p[1].y)) >=
                       ToSingle(std::fabs(static_cast<double>(p[0].x) - p[1].x));
    const double maxX = std::max(p[0].x, p[1].x), minX = std::min(p[0].x, p[1].x);
    const double maxY = std::max(p[0].y, p[1].y), minY = std::min(p[0].y, p[1].y);
    const bool stepsRight = a <= 90 || a > 270;  // steep rows of 0-90 and above 270
    const bool stepsUp = a <= 180;               // flat rows of 0-90 and 90-180
    if (steep) {
      ox = stepsRight ? ToSingle(-maxX) : ToSingle(width - minX);
      sx = stepsRight ? 1 : -1;
    } else {
      oy = stepsUp ? ToSingle(height - minY) : ToSingle(-maxY);
      sy = stepsUp ? -1 : 1;
    }
  });
  step([&] {  // the first line
    points.assign(kPointBlock, POINT{});
    points.at(0) = {CLng(static_cast<double>(ox) + p[0].x), CLng(static_cast<double>(oy) + p[0].y)};
    points.at(1) = {CLng(static_cast<double>(ox) + p[1].x), CLng(static_cast<double>(oy) + p[1].y)};
    k = 2;
  });
  step([&] {  // step the line across the area until both newest ends lie beyond it
    bool stop = false;
    while (!stop) {
      const POINT from = points.at(static_cast<std::size_t>(k) - 2);
      points.at(static_cast<std::size_t>(k)) = {CheckedAdd(from.x, sx), CheckedAdd(from.y, sy)};
      k = CheckedAdd(k, 1);
      const POINT& a = points.at(static_cast<std::size_t>(k) - 1);
      const POINT& b = points.at(static_cast<std::size_t>(k) - 2);
      if (sx > 0) stop = a.x > width && b.x > width;
      else if (sx < 0) stop = a.x < 0 && b.x < 0;
      else if (sy > 0) stop = a.y > height && b.y > height;
      else if (sy < 0) stop = a.y < 0 && b.y < 0;
      else stop = true;  // no step: one line
      if (k % static_cast<std::int32_t>(kPointBlock) == 0) points.resize(points.size() + kPointBlock);
    }
  });
  step([&] { points.resize(static_cast<std::size_t>(k)); });
  step([&] { BlendColors(color1_, color2_, CLng(k / 2.0), colors); });  // a colour per line
  step([&] {  // one pen per line
    Gdi& gdi = host_.session().gdi();
    for (j = 0; j <= k - 2; j += 2) {
      const POINT from = points.at(static_cast<std::size_t>(j));
      const POINT to = points.at(static_cast<std::size_t>(j) + 1);
      const auto color = static_cast<COLORREF>(colors.at(static_cast<std::size_t>(j / 2)));
      gdi.MoveToEx(hDC, from.x, from.y, nullptr);
      const HPEN pen = gdi.CreatePen(PS_SOLID, 1, color);
      const HGDIOBJ old = gdi.SelectObject(hDC, pen);
      gdi.LineTo(hDC, to.x, to.y);
      gdi.SelectObject(hDC, old);
      gdi.DeleteObject(pen);
    }
  });
  result = j;  // twice the lines drawn
  return result;
}

}  // namespace xpkit
