#pragma once

#include <vector>

#include "core/platform/WindowAccess.h"
#include "linux/x11/X11ClientTable.h"

namespace quillbern {

struct WindowChange {
    Pid pid = 0;
    ElementEvent event = ElementEvent::windowCreated;
    bool operator==(const WindowChange&) const = default;
};

// What the applications' observers hear of the difference between two readings of the
// client table, each (application, event) once. A closed window changes its
// application's set of windows and so may change its main window: it is heard as a
// main-window change, the nearest of the events observers know.
std::vector<WindowChange> windowChanges(const ClientTable& before, const ClientTable& after);

}  // namespace quillbern
