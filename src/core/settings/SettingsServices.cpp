#include "core/settings/SettingsServices.h"

#include "core/shell/AppShell.h"

namespace quillbern {

SettingsServices settingsServicesOf(AppShell& shell) {
    return {shell.engine(),
            shell.previews(),
            shell.suppressor(),
            shell.loginItem(),
            shell.dockPreferences(),
            shell.pinned(),
            shell.appearance(),
            shell.updater(),
            shell.windowAccess(),
            shell.hotkeysToggledRequest(),
            shell.registeredChordsRequest(),
            shell.notifications(),
            shell.platform()};
}

}  // namespace quillbern
