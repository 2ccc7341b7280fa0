#pragma once

#include <vector>

#include "core/windows/WindowInfo.h"

namespace quillbern {

// Every tracked window, ordered by application name, then by window number. Equal only
// element by element, so a reordering alone is a change.
struct WindowSnapshot {
    std::vector<WindowInfo> windows;

    static WindowSnapshot empty() { return {}; }
    bool operator==(const WindowSnapshot&) const = default;
};

}  // namespace quillbern
