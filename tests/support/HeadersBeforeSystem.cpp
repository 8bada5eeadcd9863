// The kit's public headers before the system headers whose macros could clash with them.
#include "AllPublicHeaders.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>
