#pragma once

#include <string>
#include <vector>

#include "core/model/Profile.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/ProfileHotKeys.h"

namespace quillbern {

// One line of the shortcut sheet.
struct ShortcutSheetRow {
    // The feature's name, or the dock's.
    std::string label;
    // The chord as glyphs and key label.
    std::string chord;
    bool isDock = false;
    // Works while held (the peek at every dock).
    bool isHeld = false;

    bool operator==(const ShortcutSheetRow&) const = default;
};

// The lines for the chords registered now: the features in their order, then the docks in
// the docks' order. A registered chord of a dock that is gone has no line.
std::vector<ShortcutSheetRow> shortcutSheetRows(const RegisteredChords& registered, const std::vector<Profile>& docks,
                                                const ChordText& chordText);

}  // namespace quillbern
