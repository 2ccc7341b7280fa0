#include "core/settings/SettingsControlLooks.h"

#include <algorithm>

namespace quillbern {

PageColumn pageColumn(double detailWidth) {
    const double width = std::clamp(detailWidth, 0.0, kPageMaxWidth);
    return {(std::max(detailWidth, 0.0) - width) / 2, width};
}

ListBarButtonLook listBarButtonLook(bool isDestructive, bool isHovering, bool isEnabled) {
    if (!isEnabled) return {SettingsTone::tertiary, 0};
    if (!isHovering) return {SettingsTone::primary, 0};
    return {isDestructive ? SettingsTone::destructive : SettingsTone::primary, 0.08};
}

HoverRemoveLook hoverRemoveLook(bool isHovering) {
    if (isHovering) return {"minus.circle.fill", SettingsTone::destructive};
    return {"minus.circle", SettingsTone::secondary};
}

EditorRowLook editorRowLook(bool isHovering, bool removeFocused) {
    return {isHovering ? 0.06 : 0, isHovering || removeFocused ? 1.0 : 0};
}

SearchFieldLook searchFieldLook(bool isFocused, bool hasText) {
    if (isFocused) return {SettingsTone::accent, 0.09, SettingsTone::accent, 0.7, 1.5, 0.3, hasText};
    return {SettingsTone::secondary, 0.06, SettingsTone::separator, 1, 1, 0, hasText};
}

SettingsNoteLook settingsNoteLook(SettingsNoteStyle style) {
    switch (style) {
        case SettingsNoteStyle::warning:
            return {"exclamationmark.triangle", SettingsTone::warning};
        case SettingsNoteStyle::error:
            return {"xmark.octagon", SettingsTone::destructive};
        case SettingsNoteStyle::info:
            break;
    }
    return {"info.circle", SettingsTone::secondary};
}

}  // namespace quillbern
