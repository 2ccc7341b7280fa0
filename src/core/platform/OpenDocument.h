#pragma once

#include "core/platform/Alerts.h"
#include "core/platform/Launcher.h"

namespace quillbern {

// Opens the item with its type's application, as the user asked; when no application
// opens it, says so in the log and beeps rather than doing nothing.
void openDocument(Launcher& launcher, Alerts& alerts, const Path& path);

}  // namespace quillbern
