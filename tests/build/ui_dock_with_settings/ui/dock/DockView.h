#pragma once

// A dock's view reaching up to Settings, which stands above the docks.
#include "ui/settings/SettingsTheme.h"
