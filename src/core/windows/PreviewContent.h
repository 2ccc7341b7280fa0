#pragma once

#include <functional>

#include "core/foundation/FilledByName.h"
#include "core/platform/Types.h"

namespace quillbern {

class Clock;
class PreviewStore;
class RunLoop;
class SystemAppearance;

// The hover preview's card, drawn from the preview store and redrawn as it changes: the
// hovered window's picture once the store has one for it, else its application's icon,
// and its title.
struct PreviewContent {
    [[no_unique_address]] FilledByName<PreviewContent> byName{};
    PreviewStore* store = nullptr;
    // The icon of the running application of this process; null when none is known.
    std::function<ImageHandle(Pid)> appIcon;
    // Whether the card may be translucent.
    SystemAppearance* system = nullptr;
    // For the card's fades.
    RunLoop* mainLoop = nullptr;
    const Clock* clock = nullptr;
};

}  // namespace quillbern
