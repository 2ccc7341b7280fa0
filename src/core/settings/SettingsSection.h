#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/foundation/Localization.h"

namespace quillbern {

// The sections of the Settings window, in the order its sidebar lists them.
enum class SettingsSection { general, docks, appearance, previews, permissions, support, help, about };

struct SettingsSectionInfo {
    SettingsSection section;
    // Its stable name.
    std::string_view rawValue;
    // Its sidebar title, a text to translate.
    std::string_view title;
    std::string_view symbol;
};

inline constexpr std::array<SettingsSectionInfo, 8> kSettingsSections{{
    // TRANSLATORS: the sections of the Settings window, listed in its sidebar.
    {SettingsSection::general, "general", trNoop("General"), "gearshape"},
    {SettingsSection::docks, "docks", trNoop("Docks"), "square.stack.3d.up"},
    {SettingsSection::appearance, "appearance", trNoop("Appearance"), "paintbrush"},
    {SettingsSection::previews, "previews", trNoop("Hover previews"), "eye"},
    {SettingsSection::permissions, "permissions", trNoop("Permissions"), "lock.shield"},
    {SettingsSection::support, "support", trNoop("Support"), "bubble.left.and.text.bubble.right"},
    {SettingsSection::help, "help", trNoop("Help"), "questionmark.circle"},
    {SettingsSection::about, "about", trNoop("About"), "info.circle"},
}};

constexpr const std::array<SettingsSectionInfo, 8>& settingsSections() {
    return kSettingsSections;
}
const SettingsSectionInfo& infoOf(SettingsSection section);
// The section of exactly this stable name; none for any other text.
std::optional<SettingsSection> settingsSectionNamed(std::string_view rawValue);

}  // namespace quillbern
