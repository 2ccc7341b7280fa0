#include "core/settings/SettingsSection.h"

namespace quillbern {

const SettingsSectionInfo& infoOf(SettingsSection section) {
    return settingsSections()[static_cast<std::size_t>(section)];
}

std::optional<SettingsSection> settingsSectionNamed(std::string_view rawValue) {
    for (const SettingsSectionInfo& info : settingsSections())
        if (info.rawValue == rawValue) return info.section;
    return std::nullopt;
}

}  // namespace quillbern
