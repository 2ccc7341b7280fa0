#pragma once

#include <functional>
#include <memory>

#include "core/foundation/FilledByName.h"
#include "core/foundation/NotificationBus.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/InstalledAppsScanner.h"
#include "core/model/PinnedStore.h"
#include "core/shell/Platform.h"
#include "core/shell/UpdaterController.h"
#include "core/shortcuts/ProfileHotKeys.h"
#include "core/windows/AXPermission.h"
#include "core/windows/DockSuppressor.h"
#include "core/windows/LoginItem.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

class AppShell;

// What the Settings window hands out: the program's shared stores, the two requests it
// makes of the shell, the program's notices and the system's ports; each pane is handed the
// part it uses (ui/settings/SettingsPanes.cpp). The same objects for the whole run; the
// window keeps nothing of its own in them.
struct SettingsServices {
    [[no_unique_address]] FilledByName<SettingsServices> byName{};
    WindowEngine& engine;
    PreviewStore& previews;
    DockSuppressor& suppressor;
    LoginItem& loginItem;
    DockPreferences& dockPreferences;
    PinnedStore& pinned;
    AppearanceStore& appearance;
    UpdaterController& updater;
    AXPermission& windowAccess;
    // Registers the global shortcuts anew from the settings; does nothing once the shell
    // is gone.
    std::function<void()> onHotkeysToggled;
    // The chords the system accepted at the last registration; none once the shell is gone.
    std::function<RegisteredChords()> registeredChords;
    NotificationBus& notifications;
    Platform& platform;
    // The scan the application search uses too, shared with the scans under way.
    std::shared_ptr<const InstalledAppsScanner> installedApps;
};

// The services of the running program, the shell held weakly by the two requests.
SettingsServices settingsServicesOf(AppShell& shell);

}  // namespace quillbern
