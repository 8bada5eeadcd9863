// A straight line drawn by the host above its container's surface: end points in the
// container's twips, one pixel wide, solid.
#pragma once
#include <string>

#include "xpkit/platform/VbTypes.h"

namespace xpkit {

struct LineShape {
  std::string name;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  OLE_COLOR BorderColor = 0x80000008;  // window text
  bool Visible = true;
};

}  // namespace xpkit
