// The program's 32 x 32 icon: a small picture of its window, a banner over an Exit
// button, filled straight into its pixels.
#pragma once
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

Bitmap MakeAppIcon();

}  // namespace xpkit
