#pragma once

#include <compare>

#include "core/foundation/Uuid.h"
#include "core/model/DockEdge.h"
#include "core/platform/Screens.h"

namespace quillbern {

// One dock panel: a dock on one display.
struct PanelKey {
    DisplayId display = 0;
    Uuid profile;
    auto operator<=>(const PanelKey&) const = default;
};

// The docks that share one edge of one display; they hide and show together.
struct EdgeGroup {
    DisplayId display = 0;
    DockEdge edge = DockEdge::bottom;
    auto operator<=>(const EdgeGroup&) const = default;
};

}  // namespace quillbern
