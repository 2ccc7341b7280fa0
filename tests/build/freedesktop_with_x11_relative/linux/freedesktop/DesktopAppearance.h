#pragma once

// The desktop's settings reaching into the X11 backend by a relative path: the folder is
// the one the path leads to.
#include "../x11/X11Compositing.h"
