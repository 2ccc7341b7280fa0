#pragma once

// A backend that reaches up into the views with angle brackets: refused all the same.
#include <ui/foundation/QtIcons.h>
