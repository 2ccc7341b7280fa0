#pragma once

// A backend that reaches up into the views: the layer check must refuse it.
#include "ui/foundation/FloatingPanel.h"
