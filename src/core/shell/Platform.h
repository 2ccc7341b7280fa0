#pragma once

#include "core/dock/DockViewFactory.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Uuid.h"
#include "core/palettes/PaletteViewFactory.h"
#include "core/platform/Alerts.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/AppProcess.h"
#include "core/platform/Clipboard.h"
#include "core/platform/EventMonitors.h"
#include "core/platform/FileSystem.h"
#include "core/platform/FolderEvents.h"
#include "core/platform/FolderPicker.h"
#include "core/platform/HotKeys.h"
#include "core/platform/Icons.h"
#include "core/platform/InputState.h"
#include "core/platform/KeyboardGrabber.h"
#include "core/platform/KeyboardLayout.h"
#include "core/platform/Launcher.h"
#include "core/platform/LoginService.h"
#include "core/platform/Menus.h"
#include "core/platform/NativeDockPreferences.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Permissions.h"
#include "core/platform/Processes.h"
#include "core/platform/RunningApps.h"
#include "core/platform/Screens.h"
#include "core/platform/SessionEvents.h"
#include "core/platform/SystemAppearance.h"
#include "core/platform/TextServices.h"
#include "core/platform/Threads.h"
#include "core/platform/Thumbnailer.h"
#include "core/platform/Updater.h"
#include "core/platform/UrlEvents.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowCapture.h"
#include "core/platform/WindowList.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// The system as the program's long-lived objects see it: one reference per port.
struct Platform {
    [[no_unique_address]] FilledByName<Platform> byName{};
    RunLoop& mainLoop;
    const Clock& clock;
    Defaults& defaults;
    UuidSource& uuids;
    const TextServices& text;
    Alerts& alerts;
    SystemAppearance& appearance;
    Screens& screens;
    InputState& input;
    EventMonitors& events;
    HotKeys& hotKeys;
    const KeyboardLayout& keyboardLayout;
    KeyboardGrabber& keyboardGrabber;
    PanelHost& panels;
    PaletteViewFactory& paletteViews;
    DockViewFactory& dockViews;
    WorkspaceViewFactory& workspaceViews;
    Menus& menus;
    Threads& threads;
    // The window worker's: read on its thread only.
    const WindowList& windowList;
    // The same list for readers on the main thread.
    const WindowList& mainThreadWindowList;
    WindowAccess& windowAccess;
    Permissions& permissions;
    Processes& processes;
    RunningApps& apps;
    SessionEvents& session;
    WindowCapture& capture;
    Launcher& launcher;
    AppCatalog& catalog;
    FileSystem& files;
    FolderEvents& folders;
    const Icons& icons;
    const Thumbnailer& thumbnailer;
    NativeDockPreferences& nativeDock;
    LoginService& login;
    AppProcess& process;
    Clipboard& clipboard;
    UrlEvents& urls;
    // Null where there is no software updater, as on Linux.
    Updater* updater;
    FolderPicker& folderPicker;
};

}  // namespace quillbern
