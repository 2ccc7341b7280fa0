#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/palettes/OverviewState.h"
#include "core/palettes/PalettePresenter.h"
#include "core/shortcuts/HotKeyTargets.h"
#include "core/windows/AXPermission.h"

namespace quillbern {

// The overview's panel size on a display, from the fitting size of its row that does not
// scroll: that size when it fits within the visible frame less 80 both ways, else cut to
// it with a row that scrolls; never under 220 x 100.
struct OverviewSizing {
    Size size;
    bool scrolls = false;
};
OverviewSizing overviewSizing(Size fitting, const ScreenInfo& screen);

// The application overview: one row of the applications that have windows, most recently
// activated first, centred on the display under the pointer. It opens with the previous
// application selected whenever the first one is the current one; the arrows and Tab
// move the selection without wrapping, Return raises the selected application's best
// window. While shown it follows windows and activations; when its list changes, a
// selection no longer listed falls back to the default and the panel is measured again
// around its centre. Main thread.
class AppOverview final : public Palette {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PalettePorts palette;
        const RunningApps& apps;
        const TextServices& text;
    };

    AppOverview(Ports ports, WindowEngine& engine, PinnedStore& pinned, AXPermission& permission);

    bool isShown() const override;
    void show() override;
    void dismiss() override;

    // The panel's key handler: true when the key was the overview's.
    bool handleKey(const KeyEvent& key);
    // Takes the entry's best window, dismisses, then raises that window.
    void raise(const OverviewEntry& entry);

    // Between a show and its dismissal.
    OverviewState* state() const { return state_.get(); }
    const Panel* panel() const { return presenter_.panel(); }

private:
    void move(int step);
    void entriesChanged();

    PalettePorts ports_;
    const RunningApps& apps_;
    const TextServices& text_;
    WindowEngine& engine_;
    PinnedStore& pinned_;
    AXPermission& permission_;
    std::shared_ptr<OverviewState> state_;
    std::shared_ptr<OverviewPaletteView> view_;
    // The entries' ids when last seen, to tell a change of the list from other changes.
    std::vector<std::string> shownIDs_;
    Subscription entriesWatch_;
    Lifetime lifetime_;
    PalettePresenter presenter_;
};

}  // namespace quillbern
