#include "core/settings/SettingsServices.h"

#include "core/shell/AppShell.h"

namespace quillbern {

SettingsServices settingsServicesOf(AppShell& shell) {
    return {.engine = shell.engine(),
            .previews = shell.previews(),
            .suppressor = shell.suppressor(),
            .loginItem = shell.loginItem(),
            .dockPreferences = shell.dockPreferences(),
            .pinned = shell.pinned(),
            .appearance = shell.appearance(),
            .updater = shell.updater(),
            .windowAccess = shell.windowAccess(),
            .onHotkeysToggled = shell.hotkeysToggledRequest(),
            .registeredChords = shell.registeredChordsRequest(),
            .notifications = shell.notifications(),
            .platform = shell.platform(),
            .installedApps = shell.installedApps()};
}

}  // namespace quillbern
