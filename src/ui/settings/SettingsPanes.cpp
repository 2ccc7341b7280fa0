#include "ui/settings/SettingsPanes.h"

#include "ui/settings/AboutPane.h"
#include "ui/settings/AppearancePane.h"
#include "ui/settings/DocksPane.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/HelpPane.h"
#include "ui/settings/PermissionsPane.h"
#include "ui/settings/PreviewsPane.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SupportPane.h"

namespace quillbern {

std::unique_ptr<QWidget> makeSettingsPane(SettingsSection section, const SettingsServices& services) {
    switch (section) {
        case SettingsSection::general:
            return std::make_unique<GeneralPane>(services);
        case SettingsSection::docks:
            return std::make_unique<DocksPane>(services);
        case SettingsSection::appearance:
            return std::make_unique<AppearancePane>(services);
        case SettingsSection::previews:
            return std::make_unique<PreviewsPane>(services);
        case SettingsSection::permissions:
            return std::make_unique<PermissionsPane>(services);
        case SettingsSection::support:
            return std::make_unique<SupportPane>(services);
        case SettingsSection::help:
            return std::make_unique<HelpPane>(services);
        case SettingsSection::about:
            return std::make_unique<AboutPane>(services);
    }
    return std::make_unique<SettingsPage>();  // a section value no build knows
}

}  // namespace quillbern
