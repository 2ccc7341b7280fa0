#include "core/settings/SettingsShellModel.h"

#include "core/shell/InAppNotifications.h"

namespace quillbern {

SettingsShellModel::SettingsShellModel(const SettingsServices& services)
    : loginItem_(services.loginItem), previews_(services.previews), mainLoop_(services.platform.mainLoop) {
    helpRequests_ = services.notifications.observe(kShowHelpNotification, [this] { select(SettingsSection::help); });
}

void SettingsShellModel::select(std::optional<SettingsSection> section) {
    if (!section || *section == section_) return;
    section_ = *section;
    sectionChanged.emit();
}

void SettingsShellModel::appeared() {
    if (refreshTimer_) return;
    refresh();
    refreshTimer_ = mainLoop_.every(kRefreshInterval, [this] { refresh(); });
}

void SettingsShellModel::disappeared() {
    refreshTimer_.reset();
}

void SettingsShellModel::refresh() {
    loginItem_.refresh();
    previews_.refreshGrant();
}

}  // namespace quillbern
