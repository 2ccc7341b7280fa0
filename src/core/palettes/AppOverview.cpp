#include "core/palettes/AppOverview.h"

#include <algorithm>

#include "core/tiles/WindowMenuItems.h"

namespace quillbern {

namespace {

// Room the overview leaves on each axis at most.
constexpr double kScreenMargin = 80;
constexpr Size kMinimumSize{220, 100};

constexpr KeyCode kReturn = 36, kEnter = 76, kTab = 48;
constexpr KeyCode kLeftArrow = 123, kRightArrow = 124, kDownArrow = 125, kUpArrow = 126;

std::vector<std::string> idsOf(const std::vector<OverviewEntry>& entries) {
    std::vector<std::string> ids;
    ids.reserve(entries.size());
    for (const OverviewEntry& entry : entries)
        ids.push_back(entry.id);
    return ids;
}

}  // namespace

OverviewSizing overviewSizing(Size fitting, const ScreenInfo& screen) {
    const double maxWidth = screen.visibleFrame.width - kScreenMargin;
    const double maxHeight = screen.visibleFrame.height - kScreenMargin;
    OverviewSizing sizing{fitting, false};
    if (fitting.width > maxWidth || fitting.height > maxHeight) {
        sizing = {{std::min(fitting.width, maxWidth), std::min(fitting.height, maxHeight)}, true};
    }
    sizing.size.width = std::max(sizing.size.width, kMinimumSize.width);
    sizing.size.height = std::max(sizing.size.height, kMinimumSize.height);
    return sizing;
}

AppOverview::AppOverview(Ports ports, WindowEngine& engine, PinnedStore& pinned, AXPermission& permission)
    : ports_(ports.palette),
      apps_(ports.apps),
      text_(ports.text),
      engine_(engine),
      pinned_(pinned),
      permission_(permission),
      presenter_(
          ports.palette, PalettePlacement::centred, [this] { dismiss(); },
          PaletteOptions{.size =
                             [this](Size fitting, const ScreenInfo& screen) {
                                 const OverviewSizing sizing = overviewSizing(fitting, screen);
                                 // The measure decides the row once; it is not measured again.
                                 if (view_) view_->setScrolls(sizing.scrolls);
                                 return sizing.size;
                             },
                         .relayoutKeepsCentre = true,
                         .ignoresCommandClicks = true,
                         .withoutKeyEquivalents = true}) {}

bool AppOverview::isShown() const {
    return presenter_.isShown();
}

void AppOverview::show() {
    expectOnLoop(ports_.mainLoop);
    dismiss();
    const std::optional<ScreenInfo> screen = presenter_.screenForShowing();
    if (!screen) return;
    state_ = std::make_shared<OverviewState>(engine_, pinned_, apps_, text_);
    const std::vector<OverviewEntry> entries = state_->allEntries();
    if (const OverviewEntry* selected = state_->defaultSelection(entries)) state_->setSelectedID(selected->id);
    shownIDs_ = idsOf(entries);
    entriesWatch_ = state_->entriesChanged.connect(lifetime_.guard([this] { entriesChanged(); }));

    OverviewViewInputs inputs;
    inputs.engine = &engine_;
    inputs.state = state_;
    inputs.activate = lifetime_.guard([this](const OverviewEntry& entry) { raise(entry); });
    inputs.onWindowRaise = lifetime_.guard([this](const WindowInfo&) { dismiss(); });
    inputs.askForAccess = lifetime_.guard([this] { permission_.promptRepairingStaleEntry(); });
    view_ = ports_.views.overview(std::move(inputs));

    PanelKeyHandlers keys;
    keys.onCancel = lifetime_.guard([this] { dismiss(); });
    keys.onKey = [this, token = lifetime_.token()](const KeyEvent& key) { return token.isAlive() && handleKey(key); };
    presenter_.present(*screen, view_, std::move(keys));
}

void AppOverview::dismiss() {
    expectOnLoop(ports_.mainLoop);
    presenter_.dismiss([this] {
        entriesWatch_.reset();
        state_.reset();
        shownIDs_.clear();
    });
    view_.reset();
}

bool AppOverview::handleKey(const KeyEvent& key) {
    if (!state_) return false;
    switch (key.keyCode.value_or(~KeyCode{0})) {
        case kReturn:
        case kEnter: {
            const std::vector<OverviewEntry> entries = state_->allEntries();
            if (const OverviewEntry* selected = state_->selectedEntry(entries)) raise(*selected);
            return true;
        }
        case kTab:
            move((key.flags & kShiftFlag) ? -1 : 1);
            return true;
        case kLeftArrow:
        case kUpArrow:
            move(-1);
            return true;
        case kRightArrow:
        case kDownArrow:
            move(1);
            return true;
        default:
            // Command and Control combinations belong to whoever handles them after us.
            return (key.flags & (kCommandFlag | kControlFlag)) == 0;
    }
}

void AppOverview::move(int step) {
    const std::vector<OverviewEntry> entries = state_->allEntries();
    if (entries.empty()) return;
    const auto selected =
        state_->selectedID() ? std::ranges::find(entries, *state_->selectedID(), &OverviewEntry::id) : entries.end();
    const long current = selected == entries.end() ? 0 : selected - entries.begin();
    const long next = std::clamp(current + step, 0L, long(entries.size()) - 1);
    state_->setSelectedID(entries[std::size_t(next)].id);
}

void AppOverview::raise(const OverviewEntry& entry) {
    // Taken before the dismissal drops what the entry came from.
    const std::optional<WindowInfo> best = OverviewState::bestWindow(entry);
    dismiss();
    if (best) requestRaise(engine_, *best);
}

void AppOverview::entriesChanged() {
    std::vector<OverviewEntry> entries = state_->allEntries();
    std::vector<std::string> ids = idsOf(entries);
    if (ids == shownIDs_) return;
    shownIDs_ = std::move(ids);
    const std::optional<std::string>& selected = state_->selectedID();
    if (!selected || std::ranges::find(shownIDs_, *selected) == shownIDs_.end()) {
        const OverviewEntry* fallback = state_->defaultSelection(entries);
        state_->setSelectedID(fallback ? std::optional(fallback->id) : std::nullopt);
    }
    presenter_.contentShapeChanged();
}

}  // namespace quillbern
