#include "core/model/SlotRule.h"

#include <algorithm>

namespace quillbern {

void limitVisibleDocksPerSlot(std::vector<Profile>& profiles) {
    struct Tally {
        DockEdge edge;
        const DisplayAssignment* display;
        int count;
    };
    std::vector<Tally> tallies;
    for (Profile& profile : profiles) {
        if (!profile.isVisible) continue;
        auto tally = std::ranges::find_if(tallies, [&profile](const Tally& t) {
            return t.edge == profile.edge && t.display->sameSlot(profile.display);
        });
        if (tally == tallies.end()) {
            tallies.push_back({profile.edge, &profile.display, 1});
        } else if (tally->count < 2) {
            ++tally->count;
        } else {
            profile.isVisible = false;
        }
    }
}

void bumpExactConflicts(std::vector<Profile>& profiles, DockEdge edge, const DisplayAssignment& display,
                        const Uuid& except) {
    bool firstKept = false;
    for (Profile& profile : profiles) {
        const bool standsThere = profile.isEnabled && profile.isVisible && profile.edge == edge &&
                                 profile.display.sameSlot(display) && profile.id != except;
        if (!standsThere) continue;
        if (firstKept) profile.isVisible = false;
        firstKept = true;
    }
}

}  // namespace quillbern
