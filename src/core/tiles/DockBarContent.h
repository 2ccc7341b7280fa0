#pragma once

#include <optional>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/model/Profile.h"
#include "core/model/TransientDockApps.h"

namespace quillbern {

// The body of a dock's bar under its name.
enum class BarBody {
    // "Drag an app here": nothing to show.
    dragHint,
    // The button that asks for window access above the drag hint: running applications
    // wanted, access missing, no items.
    authorizeAndHint,
    // The scrolling strip of tiles.
    strip,
};

// What one dock's bar shows at one moment; decided afresh whenever what it reads changes.
struct DockBarContent {
    // Absent once the dock was removed while its panel still stands.
    std::optional<Profile> profile;
    // The running applications shown after the pinned items.
    std::vector<TransientDockApp> transientApps;
    BarBody body = BarBody::dragHint;
    // In the strip, between the pinned items and the running applications.
    bool showsSeparator = false;
    // After the strip, outside its scrolling: a separator and the access button.
    bool showsAuthorizeAfterStrip = false;

    bool showsHeader() const { return profile.has_value(); }
};

// `transientApps` are those the dock lists: none unless it shows windows and is trusted.
DockBarContent decideBarContent(std::optional<Profile> profile, bool trusted,
                                std::vector<TransientDockApp> transientApps);

// Left and right docks lay their tiles out in a column; a removed dock counts as horizontal.
bool isVerticalDock(const std::optional<Profile>& profile);

// The offset of a launching tile's icon, pointing away from the dock's screen edge in view
// coordinates (y down).
Size bounceVector(const std::optional<Profile>& profile, double tileSize);

}  // namespace quillbern
