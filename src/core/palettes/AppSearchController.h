#pragma once

#include <memory>
#include <optional>

#include "core/foundation/FilledByName.h"
#include "core/model/PinnedStore.h"
#include "core/palettes/AppSearchIndex.h"
#include "core/palettes/AppSearchState.h"
#include "core/palettes/PalettePresenter.h"
#include "core/platform/Menus.h"
#include "core/shortcuts/HotKeyTargets.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// The pin menu: one line per dock in the docks' order, checked and disabled where the
// dock already holds the application; choosing one calls `pin` with that dock. Without
// docks, one disabled line says there is none.
MenuModel pinMenuModel(const InstalledApp& app, const std::vector<Profile>& docks,
                       const std::function<bool(const Profile&)>& holdsApp, std::function<void(const Uuid&)> pin);

// The application search: finds an installed application by name, opens it (raises a
// window of it when it runs, starts it otherwise) and pins it to a dock. Opens on the
// search line of the display under the pointer; each showing asks the index for a fresh
// scan and starts from an empty query. Main thread.
class AppSearchController final : public Palette {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PalettePorts palette;
        Menus& menus;
        const TextServices& text;
        const Icons& icons;
    };
    // Where the pin menu opens without a pointer to follow: below the field's start.
    static constexpr Point kPinMenuPoint{24, 68};

    AppSearchController(Ports ports, WindowEngine& engine, PinnedStore& pinned, AppSearchIndex& index);
    ~AppSearchController() override;

    bool isShown() const override;
    void show() override;
    void dismiss() override;

    // Keys the field left: Return opens, the arrows and Tab move, anything else without
    // Ctrl or Super goes back to the field. False when hidden or not handled.
    bool handleKey(const KeyEvent& event);
    // Ctrl alone with Return opens the pin menu, with a digit pins to that dock. False when
    // hidden, without results, or not one of these.
    bool handleKeyEquivalent(const KeyEvent& event);
    // Closes the palette, then raises a window of the application or starts it.
    void open(const InstalledApp& app);
    // Pins at once to a lone dock that lacks it; otherwise opens the pin menu at the
    // pointer (screen space), or below the field.
    void showPinMenu(const InstalledApp& app, std::optional<PointBL> at);
    // To the dock at that position of the docks' order; nothing beyond them.
    void pin(const InstalledApp& app, int profilePosition);

    AppSearchState* state() const { return state_.get(); }
    const Panel* panel() const { return presenter_.panel(); }
    bool isPinMenuOpen() const { return isPinMenuOpen_; }

private:
    void cancel();
    void stateChanged();

    Ports ports_;
    WindowEngine& engine_;
    PinnedStore& pinned_;
    AppSearchIndex& index_;
    std::shared_ptr<AppSearchState> state_;
    std::shared_ptr<PaletteView> view_;
    Subscription stateChanged_;
    bool isPinMenuOpen_ = false;
    bool pinMenuSawOutsideClick_ = false;
    Lifetime lifetime_;
    PalettePresenter presenter_;
};

}  // namespace quillbern
