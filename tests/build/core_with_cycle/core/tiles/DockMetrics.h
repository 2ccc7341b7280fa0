#pragma once

// Points back up at the dock, which includes the tiles: a cycle.
#include "core/dock/DockFrames.h"
