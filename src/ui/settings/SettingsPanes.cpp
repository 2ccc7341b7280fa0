#include "ui/settings/SettingsPanes.h"

#include "ui/settings/AboutPane.h"
#include "ui/settings/AppearancePane.h"
#include "ui/settings/DocksPane.h"
#include "ui/settings/HelpPane.h"
#include "ui/settings/PermissionsPane.h"
#include "ui/settings/PreviewsPane.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SupportPane.h"

namespace quillbern {

std::unique_ptr<QWidget> makeSettingsPane(SettingsSection section, const SettingsServices& services) {
    Platform& platform = services.platform;
    switch (section) {
        case SettingsSection::general:
            return std::make_unique<GeneralPane>(generalPaneInputs(services));
        case SettingsSection::docks:
            return std::make_unique<DocksPane>(dockEditorInputs(services));
        case SettingsSection::appearance:
            return std::make_unique<AppearancePane>(services.appearance);
        case SettingsSection::previews:
            return std::make_unique<PreviewsPane>(services.previews);
        case SettingsSection::permissions:
            return std::make_unique<PermissionsPane>(services.engine, services.windowAccess);
        case SettingsSection::support:
            return std::make_unique<SupportPane>(supportPanePorts(services));
        case SettingsSection::help:
            return std::make_unique<HelpPane>(services.notifications);
        case SettingsSection::about:
            return std::make_unique<AboutPane>(platform.process, services.updater, platform.launcher);
    }
    return std::make_unique<SettingsPage>();  // a section value no build knows
}

GeneralPane::Inputs generalPaneInputs(const SettingsServices& services) {
    Platform& platform = services.platform;
    return {.general = {.preferences = services.dockPreferences,
                        .loginItem = services.loginItem,
                        .suppressor = services.suppressor,
                        .updater = services.updater,
                        .onHotkeysToggled = services.onHotkeysToggled,
                        .defaults = platform.defaults,
                        .text = platform.text,
                        .launcher = platform.launcher,
                        .processes = platform.processes,
                        .process = platform.process},
            .shortcuts = {.pinned = services.pinned,
                          .preferences = services.dockPreferences,
                          .mainLoop = platform.mainLoop,
                          .onHotkeysToggled = services.onHotkeysToggled,
                          .registeredChords = services.registeredChords,
                          .keyboardLayout = platform.keyboardLayout,
                          .text = platform.text},
            .alerts = platform.alerts,
            .hotKeys = platform.hotKeys,
            .keyboardGrabber = platform.keyboardGrabber};
}

ProfileDetailPane::Inputs dockEditorInputs(const SettingsServices& services) {
    Platform& platform = services.platform;
    return {.pinned = services.pinned,
            .preferences = services.dockPreferences,
            .registeredChords = services.registeredChords,
            .installedApps = services.installedApps,
            .keyboardLayout = platform.keyboardLayout,
            .text = platform.text,
            .screens = platform.screens,
            .mainLoop = platform.mainLoop,
            .threads = platform.threads,
            .alerts = platform.alerts,
            .hotKeys = platform.hotKeys,
            .keyboardGrabber = platform.keyboardGrabber,
            .files = platform.files,
            .icons = platform.icons,
            .folderPicker = platform.folderPicker,
            .clipboard = platform.clipboard};
}

SupportPaneModel::Ports supportPanePorts(const SettingsServices& services) {
    Platform& platform = services.platform;
    return {.process = platform.process,
            .screens = platform.screens,
            .engine = services.engine,
            .previews = services.previews,
            .clipboard = platform.clipboard,
            .launcher = platform.launcher,
            .mainLoop = platform.mainLoop};
}

}  // namespace quillbern
