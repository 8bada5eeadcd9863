// The kit's public headers after the system headers whose macros could clash with them.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>

#include "AllPublicHeaders.h"
