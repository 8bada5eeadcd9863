// Composition of what a window shows: each surface's image inside its window region,
// then its line shapes, then its child controls, in stored order, clipped to every
// enclosing window.
#pragma once
#include "xpkit/host/Form.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/PngFile.h"

namespace xpkit {

class Gdi;

// Error(NoFont) naming the face asked for when a text call of `gdi` found no installed
// face: a picture that lost its texts is neither shown nor written. Composing a form or a
// control checks this first.
void CheckFonts(const Gdi& gdi);

// The form's client area: background, lines, controls.
Bitmap ComposeForm(const Form& form);
// Every pixel as a `scale` x `scale` block (nearest neighbour), for dense screens.
Bitmap Enlarged(const Bitmap& image, int scale);
// The same a row at a time, each made when it is asked for, so that a large enlargement
// is written without being held whole; `image` must outlive the rows.
PictureRows EnlargedRows(const Bitmap& image, int scale);
// One control as its host shows it; pixels outside its window region are transparent.
Bitmap ComposeControl(const UserControl& control);

}  // namespace xpkit
