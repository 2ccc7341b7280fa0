#pragma once

// The desktop's settings reaching into the X11 backend, which includes them: a cycle.
#include "linux/x11/X11Compositing.h"
