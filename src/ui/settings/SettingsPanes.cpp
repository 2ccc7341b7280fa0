#include "ui/settings/SettingsPanes.h"

#include "ui/settings/SettingsPage.h"

namespace quillbern {

namespace {

std::unique_ptr<QWidget> emptyPane() {
    return std::make_unique<SettingsPage>();
}

}  // namespace

std::unique_ptr<QWidget> makeSettingsPane(SettingsSection section, [[maybe_unused]] const SettingsServices& services) {
    // Each section's case returns its pane once the pane is written.
    switch (section) {
        case SettingsSection::general:
            return emptyPane();
        case SettingsSection::docks:
            return emptyPane();
        case SettingsSection::appearance:
            return emptyPane();
        case SettingsSection::previews:
            return emptyPane();
        case SettingsSection::permissions:
            return emptyPane();
        case SettingsSection::support:
            return emptyPane();
        case SettingsSection::help:
            return emptyPane();
        case SettingsSection::about:
            return emptyPane();
    }
    return emptyPane();
}

}  // namespace quillbern
