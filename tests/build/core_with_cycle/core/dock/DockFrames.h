#pragma once

#include "core/tiles/DockMetrics.h"
