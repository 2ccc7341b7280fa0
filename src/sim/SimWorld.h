#pragma once

#include "core/model/PinnedStore.h"
#include "core/palettes/PalettePresenter.h"
#include "core/windows/AXWorker.h"
#include "core/windows/WindowEngine.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimAlerts.h"
#include "sim/SimAppCatalog.h"
#include "sim/SimClipboard.h"
#include "sim/SimClock.h"
#include "sim/SimDefaults.h"
#include "sim/SimEventMonitors.h"
#include "sim/SimFileSystem.h"
#include "sim/SimFolderEvents.h"
#include "sim/SimFolderPicker.h"
#include "sim/SimHotKeys.h"
#include "sim/SimIcons.h"
#include "sim/SimInputState.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLauncher.h"
#include "sim/SimLog.h"
#include "sim/SimLoginService.h"
#include "sim/SimMenus.h"
#include "sim/SimNativeDockPreferences.h"
#include "sim/SimPaletteViewFactory.h"
#include "sim/SimPanelHost.h"
#include "sim/SimPermissions.h"
#include "sim/SimProcesses.h"
#include "sim/SimRunningApps.h"
#include "sim/SimScreens.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimTextServices.h"
#include "sim/SimThreads.h"
#include "sim/SimThumbnailer.h"
#include "sim/SimUuidSource.h"
#include "sim/SimWindowSystem.h"

namespace quillbern {

// One simulated machine for a test or a benchmark: virtual time, the main run loop, the
// application's defaults, the log, UUIDs, text rules, alerts, displays, input, event
// monitors, global hot keys, the keyboard layout, panels, palette views and menus, running and
// installed applications, launching, files and folder watches, the desktop's dock and the login service, the
// desktop's display options, other applications' windows, permissions, child processes,
// worker threads (manual loops on the same virtual time), session events, the clipboard and the folder chooser. Later
// features add their simulated backends here; SimDockWorld builds the docks' stores and
// controller on it.
class SimWorld {
public:
    SimWorld();
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    // Moves virtual time forward, running everything that falls due on every loop.
    void advance(Duration seconds) { clock.advance(seconds); }
    void runUntilIdle() { clock.runUntilIdle(); }

    // What the window worker and the window engine are built from on this machine.
    AXWorker::Ports workerPorts();
    WindowEngine::Ports enginePorts();
    // The docks' store on this machine, with the icons a test paints or the machine's own.
    PinnedStore::Ports pinnedPorts(const Icons& icons);
    PinnedStore::Ports pinnedPorts() { return pinnedPorts(icons); }
    // What every palette is built from on this machine.
    PalettePorts palettePorts();

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
    SimPaletteViewFactory paletteViews;
    SimMenus menus;
    SimRunningApps apps{mainLoop};
    SimAppCatalog catalog;
    SimLauncher launcher;
    SimFileSystem files;
    SimFolderEvents folders;
    SimIcons icons;
    SimThumbnailer thumbnailer;
    SimNativeDockPreferences nativeDock;
    SimLoginService login;
    SimSystemAppearance appearance;
    SimWindowSystem windows{clock};
    SimPermissions permissions;
    SimProcesses processes;
    SimThreads threads{clock};
    SimSessionEvents session;
    SimClipboard clipboard;
    SimFolderPicker folderPicker;
};

}  // namespace quillbern
