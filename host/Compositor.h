// Composition of what a window shows: each surface's image inside its window region,
// then its line shapes, then its child controls, in stored order, clipped to every
// enclosing window.
#pragma once
#include "xpkit/host/Form.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

// The form's client area: background, lines, controls.
Bitmap ComposeForm(const Form& form);
// Every pixel as a `scale` x `scale` block (nearest neighbour), for dense screens.
Bitmap Enlarged(const Bitmap& image, int scale);
// One control as its host shows it; pixels outside its window region are transparent.
Bitmap ComposeControl(const UserControl& control);

}  // namespace xpkit
