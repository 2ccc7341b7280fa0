#pragma once

#include <string>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/model/PinnedItem.h"
#include "core/platform/Types.h"

namespace quillbern {

// What the launch beacon reads of the applications that docks started: which of them
// are still starting, and their icons. Main thread.
class LaunchingApps {
public:
    virtual ~LaunchingApps() = default;

    virtual bool isLaunching(const std::string& appId) const = 0;
    // Null when the application is not found.
    virtual ImageHandle icon(const PinnedApp& app) const = 0;
    // [main] After every change of which applications are launching.
    [[nodiscard]] virtual Subscription onLaunchingChanged(Task task) = 0;
};

}  // namespace quillbern
