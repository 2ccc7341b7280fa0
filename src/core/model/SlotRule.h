#pragma once

#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/DisplayAssignment.h"
#include "core/model/DockEdge.h"
#include "core/model/Profile.h"

namespace quillbern {

// At most two docks stand on one slot: one edge with one display assignment (compared by
// stable display identifier only). Earlier docks in the list win.

// After a load: counts every visible dock, switched on or not, and hides the third and
// later of each slot.
void limitVisibleDocksPerSlot(std::vector<Profile>& profiles);

// Before a dock (`except`) arrives on a slot: of the other visible, switched-on docks
// there, all but the first are hidden.
void bumpExactConflicts(std::vector<Profile>& profiles, DockEdge edge, const DisplayAssignment& display,
                        const Uuid& except);

}  // namespace quillbern
