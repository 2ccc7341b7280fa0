#include "core/palettes/AppSearchController.h"

#include <algorithm>

#include "core/foundation/Localization.h"
#include "core/model/DockName.h"
#include "core/palettes/PaletteKeys.h"
#include "core/tiles/WindowMenuItems.h"

namespace quillbern {

MenuModel pinMenuModel(const InstalledApp& app, const std::vector<Profile>& docks,
                       const std::function<bool(const Profile&)>& holdsApp, std::function<void(const Uuid&)> pin) {
    std::vector<MenuItem> items;
    for (const Profile& dock : docks) {
        MenuItem item;
        item.title = nameInText(dock.name);
        item.checked = holdsApp(dock);
        item.enabled = !item.checked;
        item.action = [pin, id = dock.id] { pin(id); };
        items.push_back(std::move(item));
    }
    MenuModel menu;
    menu.append(items);
    menu.setEmptyTitle(trf("No dock to pin %@ to", app.name));
    return menu;
}

AppSearchController::AppSearchController(Ports ports, WindowEngine& engine, PinnedStore& pinned, AppSearchIndex& index)
    : ports_(ports),
      engine_(engine),
      pinned_(pinned),
      index_(index),
      presenter_(ports.palette, PalettePlacement::searchLine, [this] { dismiss(); }) {
    // While the pin menu is open, a click elsewhere closes the palette only after the menu.
    presenter_.holdWhile([this] { return isPinMenuOpen_; }, [this] { pinMenuSawOutsideClick_ = true; });
}

AppSearchController::~AppSearchController() {
    dismiss();
}

bool AppSearchController::isShown() const {
    return presenter_.isShown();
}

void AppSearchController::show() {
    expectOnLoop(ports_.palette.mainLoop);
    dismiss();
    index_.refreshSoon();
    const std::optional<ScreenInfo> screen = presenter_.screenForShowing();
    if (!screen) return;
    state_ = std::make_shared<AppSearchState>(AppSearchState::Ports{.text = ports_.text, .icons = ports_.icons}, index_,
                                              pinned_);
    AppSearchViewInputs inputs;
    inputs.state = state_;
    inputs.open = [this, token = lifetime_.token()](const InstalledApp& app) {
        if (token.isAlive()) open(app);
    };
    inputs.pinMenu = [this, token = lifetime_.token()](const InstalledApp& app) {
        if (token.isAlive()) showPinMenu(app, ports_.palette.input.pointer());
    };
    view_ = ports_.palette.views.appSearch(inputs);
    stateChanged_ = state_->changed.connect(lifetime_.guard([this] { stateChanged(); }));

    PanelKeyHandlers keys;
    keys.onCancel = lifetime_.guard([this] { cancel(); });
    keys.onKey = [this, token = lifetime_.token()](const KeyEvent& event) {
        return token.isAlive() && handleKey(event);
    };
    keys.onKeyEquivalent = [this, token = lifetime_.token()](const KeyEvent& event) {
        return token.isAlive() && handleKeyEquivalent(event);
    };
    presenter_.present(*screen, view_, std::move(keys));
}

void AppSearchController::dismiss() {
    expectOnLoop(ports_.palette.mainLoop);
    presenter_.dismiss([this] {
        stateChanged_.reset();
        view_.reset();
        state_.reset();
    });
}

void AppSearchController::cancel() {
    if (!state_) return;
    if (!state_->query().empty()) {
        state_->setQuery("");
    } else {
        dismiss();
    }
}

void AppSearchController::stateChanged() {
    // Typing or a landed scan changed the rows: the highlight stays on one of them, and
    // the panel takes the content's new height.
    if (!state_ || !state_->takeShapeChange()) return;
    state_->reconcile();
    presenter_.contentShapeChanged();
}

bool AppSearchController::handleKey(const KeyEvent& event) {
    if (!state_ || !event.keyCode) return false;
    switch (*event.keyCode) {
        case kReturnKey:
        case kEnterKey:
            if (std::optional<InstalledApp> app = state_->selectedApp()) open(*app);
            return true;
        case kTabKey:
            state_->move((event.flags & kShiftFlag) ? -1 : 1);
            return true;
        case kDownKey:
            state_->move(1);
            return true;
        case kUpKey:
            state_->move(-1);
            return true;
        default:
            break;
    }
    // Ctrl is Command inside our windows, Super is Control.
    if (event.flags & (kCommandFlag | kControlFlag)) return false;
    if (view_) view_->focusField();
    return true;
}

bool AppSearchController::handleKeyEquivalent(const KeyEvent& event) {
    if (!state_ || !event.keyCode || (event.flags & kEquivalentModifierMask) != kCommandFlag) return false;
    const std::optional<InstalledApp> app = state_->selectedApp();
    if (!app) return false;
    if (*event.keyCode == kReturnKey || *event.keyCode == kEnterKey) {
        showPinMenu(*app, std::nullopt);
        return true;
    }
    const std::optional<int> digit = paletteDigit(*event.keyCode);
    if (!digit) return false;
    pin(*app, *digit);
    return true;
}

void AppSearchController::open(const InstalledApp& app) {
    dismiss();
    const std::set<Pid> pids = pinned_.pids(app.appId);
    std::vector<const WindowInfo*> windows;
    for (const WindowInfo& window : engine_.snapshot().windows) {
        if (pids.contains(window.pid)) windows.push_back(&window);
    }
    if (windows.empty()) {
        pinned_.launchOrActivate(app.appId, app.path);
        return;
    }
    auto best = std::ranges::find_if(windows, [](const WindowInfo* w) { return w->isFocused; });
    if (best == windows.end())
        best = std::ranges::find_if(windows, [](const WindowInfo* w) { return !w->isMinimized; });
    if (best == windows.end()) best = windows.begin();
    requestRaise(engine_, **best);
}

void AppSearchController::pin(const InstalledApp& app, int profilePosition) {
    const std::vector<Profile>& profiles = pinned_.profiles();
    if (profilePosition < 0 || std::size_t(profilePosition) >= profiles.size()) return;
    pinned_.pin(app.appId, app.name, app.path, profiles[std::size_t(profilePosition)].id);
}

void AppSearchController::showPinMenu(const InstalledApp& app, std::optional<PointBL> at) {
    const Panel* panel = presenter_.panel();
    if (!panel) return;
    const std::uint64_t serial = panel->serial();
    const std::vector<Profile>& profiles = pinned_.profiles();
    if (profiles.size() == 1 && !pinned_.isPinned(app.appId, profiles.front().id)) {
        pin(app, 0);
        return;
    }
    const MenuModel menu = pinMenuModel(
        app, profiles, [&](const Profile& dock) { return pinned_.isPinned(app.appId, dock.id); },
        [this, token = lifetime_.token(), app](const Uuid& dock) {
            if (token.isAlive()) pinned_.pin(app.appId, app.name, app.path, dock);
        });
    Point inContent = kPinMenuPoint;
    if (at) {
        const RectBL frame = panel->frame();
        inContent = {at->x - frame.x, frame.maxY() - at->y};
    }

    isPinMenuOpen_ = true;
    pinMenuSawOutsideClick_ = false;
    const LifetimeToken alive = lifetime_.token();
    ports_.menus.popUp(menu, *panel, inContent);
    if (!alive.isAlive()) return;
    isPinMenuOpen_ = false;

    Panel* still = presenter_.panel();
    if (!still || still->serial() != serial) return;
    if (pinMenuSawOutsideClick_) {
        dismiss();
        return;
    }
    still->makeKeyAndOrderFront();
    if (view_) view_->focusField();
}

}  // namespace quillbern
