#pragma once

#include <functional>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/model/PinnedStore.h"
#include "core/palettes/PalettePresenter.h"
#include "core/palettes/ShortcutSheetRow.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/HotKeyTargets.h"

namespace quillbern {

// The palette that lists every global shortcut registered at this moment, centred on the
// display under the pointer. Any key, a click outside it or the loss of the keyboard
// closes it; its list is built anew on each show and does not change while it shows.
// Main thread.
class ShortcutSheetController final : public Palette {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PalettePorts palette;
        const KeyboardLayout& layout;
        const TextServices& text;
    };
    // The chords the system accepted, as the shortcuts' registration has them now.
    using RegisteredProvider = std::function<RegisteredChords()>;

    ShortcutSheetController(Ports ports, const PinnedStore& pinned, RegisteredProvider registered);

    bool isShown() const override;
    void show() override;
    void dismiss() override;

    std::vector<ShortcutSheetRow> rows() const;
    const Panel* panel() const { return presenter_.panel(); }

private:
    PalettePorts ports_;
    const PinnedStore& pinned_;
    RegisteredProvider registered_;
    ChordText chordText_;
    Lifetime lifetime_;
    PalettePresenter presenter_;
};

}  // namespace quillbern
