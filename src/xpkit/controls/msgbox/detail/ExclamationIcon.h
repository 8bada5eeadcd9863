// The message box's 32 x 32 exclamation icon, drawn by code in the platform's style: a
// yellow warning triangle with a darker rim and a black "!", its edges smoothed into the
// alpha channel.
#pragma once
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

Bitmap MakeExclamationIcon();

}  // namespace xpkit
