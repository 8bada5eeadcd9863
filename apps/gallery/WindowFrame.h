// A picture of a client area in a window frame of the platform's classic look, in the
// blue scheme's colours: a 3-D border and a small tool-window title bar with the caption
// and a close box. For pictures of dialogs; a real window's frame is the window
// manager's.
#pragma once
#include <string>

#include "xpkit/platform/Bitmap.h"

namespace xpkit {

class Session;

Bitmap Framed(Session& session, const Bitmap& client, const std::u16string& caption);
// The size of that picture for a client area of the given size.
POINT FramedSize(int clientWidth, int clientHeight);

}  // namespace xpkit
