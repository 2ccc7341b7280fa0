#pragma once

#include "sim/ManualRunLoop.h"
#include "sim/SimAlerts.h"
#include "sim/SimAppCatalog.h"
#include "sim/SimClock.h"
#include "sim/SimDefaults.h"
#include "sim/SimEventMonitors.h"
#include "sim/SimFileSystem.h"
#include "sim/SimHotKeys.h"
#include "sim/SimIcons.h"
#include "sim/SimInputState.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLauncher.h"
#include "sim/SimLog.h"
#include "sim/SimLoginService.h"
#include "sim/SimNativeDockPreferences.h"
#include "sim/SimPanelHost.h"
#include "sim/SimRunningApps.h"
#include "sim/SimScreens.h"
#include "sim/SimTextServices.h"
#include "sim/SimUuidSource.h"

namespace quillbern {

// One simulated machine for a test: virtual time, the main run loop, the application's
// defaults, the log, UUIDs, text rules, alerts, displays, input, event monitors, global
// hot keys, the keyboard layout, panels, running and installed applications, launching,
// files, the desktop's dock and the login service. Later features add their simulated backends here.
class SimWorld {
public:
    SimWorld();
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    // Moves virtual time forward, running everything that falls due on every loop.
    void advance(Duration seconds) { clock.advance(seconds); }
    void runUntilIdle() { clock.runUntilIdle(); }

    SimLog log;
    SimClock clock;
    ManualRunLoop mainLoop{clock};
    SimDefaults defaults;
    SimUuidSource uuids;
    SimTextServices text;
    SimAlerts alerts;
    SimScreens screens;
    SimInputState input;
    SimEventMonitors events;
    SimHotKeys hotKeys;
    SimKeyboardLayout keyboardLayout;
    SimPanelHost panels{mainLoop, clock};
    SimRunningApps apps;
    SimAppCatalog catalog;
    SimLauncher launcher;
    SimFileSystem files;
    SimIcons icons;
    SimNativeDockPreferences nativeDock;
    SimLoginService login;
};

}  // namespace quillbern
