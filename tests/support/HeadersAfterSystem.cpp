// The umbrellas of the kit and the codecs (every public header) after the system headers
// whose macros could clash with them.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>

#include "xpkit/codecs.h"
#include "xpkit/xpkit.h"
