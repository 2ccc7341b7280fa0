#include "core/settings/SettingsSection.h"

namespace quillbern {

const std::array<SettingsSectionInfo, 8>& settingsSections() {
    static const std::array<SettingsSectionInfo, 8> sections{{
        {SettingsSection::general, "general", "General", "gearshape"},
        {SettingsSection::docks, "docks", "Docks", "square.stack.3d.up"},
        {SettingsSection::appearance, "appearance", "Appearance", "paintbrush"},
        {SettingsSection::previews, "previews", "Hover previews", "eye"},
        {SettingsSection::permissions, "permissions", "Permissions", "lock.shield"},
        {SettingsSection::support, "support", "Support", "bubble.left.and.text.bubble.right"},
        {SettingsSection::help, "help", "Help", "questionmark.circle"},
        {SettingsSection::about, "about", "About", "info.circle"},
    }};
    return sections;
}

const SettingsSectionInfo& infoOf(SettingsSection section) {
    return settingsSections()[static_cast<std::size_t>(section)];
}

std::optional<SettingsSection> settingsSectionNamed(std::string_view rawValue) {
    for (const SettingsSectionInfo& info : settingsSections())
        if (info.rawValue == rawValue) return info.section;
    return std::nullopt;
}

}  // namespace quillbern
