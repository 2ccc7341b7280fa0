#pragma once

#include <functional>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Uuid.h"
#include "core/platform/Alerts.h"
#include "core/platform/SystemAppearance.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The system as the program's long-lived objects see it: one reference per port.
struct Platform {
    RunLoop& mainLoop;
    const Clock& clock;
    Defaults& defaults;
    UuidSource& uuids;
    const TextServices& text;
    Alerts& alerts;
    SystemAppearance& appearance;
    // Leaves the event loop; shutdown follows.
    std::function<void()> quit;
};

}  // namespace quillbern
