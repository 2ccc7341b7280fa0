#pragma once

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/model/PinnedStore.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/Icons.h"
#include "core/platform/RunningApps.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimAlerts.h"
#include "sim/SimAppCatalog.h"
#include "sim/SimClock.h"
#include "sim/SimFileSystem.h"
#include "sim/SimIcons.h"
#include "sim/SimLauncher.h"
#include "sim/SimRunningApps.h"
#include "sim/SimTextServices.h"
#include "sim/SimUuidSource.h"

namespace quillbern {

// The simulated backends the docks' store starts on, all but the defaults, which a fuzz
// target reads from a file of its own: the ground of SimWorld, and the whole machine of the
// fuzz targets, which build nothing else.
struct SimStoreBackends {
    SimStoreBackends();
    SimStoreBackends(const SimStoreBackends&) = delete;
    SimStoreBackends& operator=(const SimStoreBackends&) = delete;

    // The docks' store on these backends, over `defaults`, showing `shownIcons`.
    PinnedStore::Ports pinnedPorts(Defaults& defaults, const Icons& shownIcons);

    // What a test of the real desktop runs the store on instead of the simulated ones.
    struct Desktop {
        [[no_unique_address]] FilledByName<Desktop> byName{};
        RunLoop& mainLoop;
        const Clock& clock;
        RunningApps& apps;
        AppCatalog& catalog;
    };
    PinnedStore::Ports pinnedPorts(Defaults& defaults, const Icons& shownIcons, Desktop desktop);

    SimClock clock;
    ManualRunLoop mainLoop{clock};
    SimUuidSource uuids;
    SimTextServices text;
    SimAlerts alerts;
    SimRunningApps apps{mainLoop};
    SimAppCatalog catalog;
    SimLauncher launcher;
    SimFileSystem files;
    SimIcons icons;
};

}  // namespace quillbern
