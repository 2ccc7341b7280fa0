#pragma once

#include "core/foundation/Time.h"
#include "core/model/DockPreferences.h"

namespace quillbern {

// How long each step of a knock may take at one tempo, in seconds.
struct KnockTiming {
    // A first touch held longer than this is resting at the edge, not knocking.
    Duration longestFirstTouch = 0;
    // After the pull-back, the second touch must come within this.
    Duration knockWindow = 0;
    // At a seam, each crossing back and the crossing again must come within this.
    Duration seamWindow = 0;
};

KnockTiming knockTiming(DockPreferences::KnockTempo tempo);

// Where a knock on a free edge stands: touch the edge at the dock, pull back, touch again.
struct KnockPhase {
    enum class Step {
        touching,  // in the reveal strip since `time`
        armed,     // pulled back in time; a touch until `time` reveals
        away,      // seen away from the edge: the next touch starts a gesture
    };
    Step step = Step::away;
    MediaTime time;
    bool operator==(const KnockPhase&) const = default;
};

// Where a knock at a seam stands: cross onto the neighbouring display and back, twice.
struct SeamKnock {
    enum class Step {
        home,      // on the dock's own display, within its stretch of the edge
        out,       // crossed onto the neighbour; back before `deadline`
        back,      // came back; across again before `deadline`
        outAgain,  // across again; back before the same `deadline` reveals
    };
    Step step = Step::home;
    MediaTime deadline;
    bool operator==(const SeamKnock&) const = default;
};

}  // namespace quillbern
