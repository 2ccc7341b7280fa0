#pragma once

#include "core/palettes/PalettePresenter.h"
#include "core/windows/AXWorker.h"
#include "core/windows/WindowEngine.h"
#include "sim/SimClipboard.h"
#include "sim/SimDefaults.h"
#include "sim/SimDockViewFactory.h"
#include "sim/SimEventMonitors.h"
#include "sim/SimFolderEvents.h"
#include "sim/SimFolderPicker.h"
#include "sim/SimHotKeys.h"
#include "sim/SimInputState.h"
#include "sim/SimKeyboardGrabber.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLog.h"
#include "sim/SimLoginService.h"
#include "sim/SimMenus.h"
#include "sim/SimNativeDockPreferences.h"
#include "sim/SimPaletteViewFactory.h"
#include "sim/SimPanelHost.h"
#include "sim/SimPermissions.h"
#include "sim/SimProcesses.h"
#include "sim/SimScreens.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimStoreBackends.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimThreads.h"
#include "sim/SimThumbnailer.h"
#include "sim/SimWindowSystem.h"
#include "sim/SimWorkspaceViewFactory.h"

namespace quillbern {

// One simulated machine for a test or a benchmark: virtual time, the main run loop, the
// application's defaults, the log, UUIDs, text rules, alerts, displays, input, event
// monitors, global hot keys, the keyboard layout and its grab, the frames of animations, panels, the views of palettes,
// docks and the workspace, menus, running and installed applications, launching, files and folder watches, the
// desktop's dock and the login service, the desktop's display options, other applications' windows, permissions, child
// processes, worker threads (manual loops on the same virtual time), session events, the clipboard and the folder
// chooser. Later features add their simulated backends here (those the docks' store takes stand in SimStoreBackends,
// which the fuzz targets share); SimDockWorld builds the docks' stores and controller on it.
class SimWorld : public SimStoreBackends {
public:
    SimWorld() = default;
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    // Moves virtual time forward, running everything that falls due on every loop.
    void advance(Duration seconds) { clock.advance(seconds); }
    void runUntilIdle() { clock.runUntilIdle(); }

    // What the window worker and the window engine are built from on this machine.
    AXWorker::Ports workerPorts();
    WindowEngine::Ports enginePorts() { return enginePorts(session); }
    // The same, told of the session's events by `sessionEvents` (a real backend's, say).
    WindowEngine::Ports enginePorts(SessionEvents& sessionEvents);
    // The docks' store on this machine, with the icons a test paints or the machine's own.
    PinnedStore::Ports pinnedPorts(const Icons& shownIcons) {
        return SimStoreBackends::pinnedPorts(defaults, shownIcons);
    }
    PinnedStore::Ports pinnedPorts() { return pinnedPorts(icons); }
    // What every palette is built from on this machine.
    PalettePorts palettePorts();

    SimLog log;
    SimDefaults defaults;
    SimScreens screens;
    SimInputState input;
    SimEventMonitors events;
    SimHotKeys hotKeys;
    SimKeyboardLayout keyboardLayout;
    SimKeyboardGrabber keyboardGrabber;
    // The frames of the views' and panels' animations, on virtual time.
    FrameClock frames{mainLoop, clock};
    SimPanelHost panels{frames};
    SimPaletteViewFactory paletteViews;
    SimDockViewFactory dockViews;
    SimWorkspaceViewFactory workspaceViews;
    SimMenus menus;
    SimFolderEvents folders;
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
