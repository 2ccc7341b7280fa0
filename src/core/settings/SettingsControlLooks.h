#pragma once

#include <string>
#include <string_view>

#include "core/foundation/Time.h"

namespace quillbern {

// The rules behind the look of the shared Settings controls, kept apart from their drawing.

// Colours by role; the drawing picks the desktop's colour for each.
enum class SettingsTone { primary, secondary, tertiary, accent, separator, destructive, warning };

// Hover feedback eases out over this long; a change of a search field's focus a little longer.
inline constexpr Duration kSettingsHoverAnimation = 0.12;
inline constexpr Duration kSettingsFocusAnimation = 0.15;

// A page is one column, at most this wide with its padding, centred in the detail area; a
// narrower area is filled.
inline constexpr double kPageMaxWidth = 680;
inline constexpr double kPagePadding = 18;
struct PageColumn {
    double x = 0;
    double width = 0;
    bool operator==(const PageColumn&) const = default;
};
PageColumn pageColumn(double detailWidth);

// The small icon buttons under a list. Disabled, they are never red and never plated.
struct ListBarButtonLook {
    SettingsTone icon = SettingsTone::primary;
    double plateOpacity = 0;
    bool operator==(const ListBarButtonLook&) const = default;
};
ListBarButtonLook listBarButtonLook(bool isDestructive, bool isHovering, bool isEnabled);

// The remove button of an editable row, which turns red under the pointer.
struct HoverRemoveLook {
    std::string_view symbol;
    SettingsTone tone = SettingsTone::secondary;
    bool operator==(const HoverRemoveLook&) const = default;
};
HoverRemoveLook hoverRemoveLook(bool isHovering);

// A row of an editable list: its plate under the pointer, and its remove button, shown
// while the row is hovered or the button has the keyboard. An invisible button keeps its
// place and stays reachable by the keyboard.
struct EditorRowLook {
    double plateOpacity = 0;
    double removeOpacity = 0;
    bool operator==(const EditorRowLook&) const = default;
};
EditorRowLook editorRowLook(bool isHovering, bool removeFocused);

// The search field glows while it has the keyboard, and offers its clear button while it
// holds text.
struct SearchFieldLook {
    SettingsTone magnifier = SettingsTone::secondary;
    double fillOpacity = 0;
    SettingsTone border = SettingsTone::separator;
    double borderOpacity = 1;
    double borderWidth = 1;
    double glowOpacity = 0;
    bool showsClear = false;
    bool operator==(const SearchFieldLook&) const = default;
};
SearchFieldLook searchFieldLook(bool isFocused, bool hasText);

// A note under a row: a warning or something the user must do, a refusal or an error, or
// information.
enum class SettingsNoteStyle { warning, error, info };
struct SettingsNoteLook {
    std::string_view symbol;
    SettingsTone tone = SettingsTone::secondary;
};
SettingsNoteLook settingsNoteLook(SettingsNoteStyle style);

// A note as a pane's model hands it to its view.
struct SettingsNote {
    std::string text;
    SettingsNoteStyle style = SettingsNoteStyle::info;
    bool operator==(const SettingsNote&) const = default;
};

}  // namespace quillbern
