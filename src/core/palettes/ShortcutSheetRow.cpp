#include "core/palettes/ShortcutSheetRow.h"

#include "core/shortcuts/HotKeyBindings.h"

namespace quillbern {

std::vector<ShortcutSheetRow> shortcutSheetRows(const RegisteredChords& registered, const std::vector<Profile>& docks,
                                                const ChordText& chordText) {
    std::vector<ShortcutSheetRow> rows;
    for (const HotKeyAction& feature : kFeatureOrder) {
        const auto found = registered.find(feature);
        if (found == registered.end()) continue;
        rows.push_back({HotKeyBindings::label(feature), chordText.display(found->second), false,
                        feature.kind() == HotKeyAction::Kind::peekDocks});
    }
    for (const Profile& dock : docks) {
        const auto found = registered.find(HotKeyAction::profile(dock.id));
        if (found != registered.end()) rows.push_back({dock.name, chordText.display(found->second), true, false});
    }
    return rows;
}

}  // namespace quillbern
