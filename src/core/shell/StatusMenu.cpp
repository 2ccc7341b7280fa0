#include "core/shell/StatusMenu.h"

#include <utility>

#include "core/dock/DockController.h"
#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/model/DockEdge.h"
#include "core/model/DockName.h"
#include "core/model/ProfileRepair.h"
#include "core/shell/AppShell.h"
#include "core/shell/Platform.h"

namespace quillbern {

namespace {

using Kind = HotKeyAction::Kind;

MenuRow row(std::string title, MenuCommand command, char key = 0) {
    MenuRow made;
    made.title = std::move(title);
    made.command = command;
    made.key = key;
    return made;
}

// A row that only tells something.
MenuRow line(std::string title) {
    MenuRow made;
    made.title = std::move(title);
    made.isEnabled = false;
    return made;
}

// The edge a dock stands on, as a word inside its menu row.
std::string edgeInRow(DockEdge edge) {
    switch (edge) {
        case DockEdge::bottom:
            // TRANSLATORS: the screen edge a dock stands on, after its name in the tray icon's
            // menu ("Main — bottom"), cased as the language writes it there.
            return trc("dock edge in the tray menu", "bottom");
        case DockEdge::top:
            return trc("dock edge in the tray menu", "top");
        case DockEdge::left:
            return trc("dock edge in the tray menu", "left");
        case DockEdge::right:
            return trc("dock edge in the tray menu", "right");
    }
    return {};
}

}  // namespace

MenuRow MenuRow::separator() {
    MenuRow made;
    made.isSeparator = true;
    return made;
}

StatusMenu::StatusMenu(AppShell& shell, Platform& platform) : shell_(shell), platform_(platform) {}

std::vector<MenuRow> StatusMenu::aboutToOpen() {
    shell_.previews().refreshGrant();
    return rows();
}

std::vector<MenuRow> StatusMenu::rows() const {
    const HotKeyDispatch* hotKeys = shell_.hotKeys();
    const bool trusted = shell_.engine().isTrusted();
    const FocusModeSwitch* focusMode = hotKeys ? hotKeys->targets.focusMode : nullptr;
    const WorkspaceToggle* workspace = hotKeys ? hotKeys->targets.workspace : nullptr;

    MenuRow docks = row(tr("Docks"), MenuCommand::none);
    docks.submenu = docksSubmenu();

    MenuRow focus = featureRow(trNoop("Focus mode"), MenuCommand::toggleFocusMode, Kind::focusMode);
    focus.isEnabled = trusted;
    focus.mark = focusMode && focusMode->isActive() ? CheckMark::on : CheckMark::off;

    MenuRow workspaceRow = featureRow(trNoop("Workspace"), MenuCommand::toggleWorkspace, Kind::workspace);
    workspaceRow.isEnabled = trusted && workspace && workspace->hasMembers();

    MenuRow updates = row(tr("Check for Updates…"), MenuCommand::checkForUpdates);
    updates.isEnabled = shell_.updater().canCheckForUpdates();

    return {
        line("Quillbern"),
        line(statusLine()),
        MenuRow::separator(),
        std::move(docks),
        featureRow(trNoop("All open apps"), MenuCommand::showOverview, Kind::overview),
        featureRow(trNoop("Search apps"), MenuCommand::showAppSearch, Kind::search),
        featureRow(trNoop("Open a file"), MenuCommand::showFileSearch, Kind::files),
        std::move(focus),
        std::move(workspaceRow),
        featureRow(trNoop("Keyboard shortcuts"), MenuCommand::showShortcutSheet, Kind::cheatSheet),
        MenuRow::separator(),
        undoRow(),
        MenuRow::separator(),
        previewsRow(),
        MenuRow::separator(),
        std::move(updates),
        row(tr("Settings…"), MenuCommand::openSettings, ','),
        row(tr("Help"), MenuCommand::openHelp),
        MenuRow::separator(),
        row(tr("Quit Quillbern"), MenuCommand::quit, 'q'),
    };
}

std::string StatusMenu::statusLine() const {
    const PreviewStore& previews = shell_.previews();
    const std::string access =
        platform_.permissions.isWindowAccessTrusted() ? tr("Window access ✓") : tr("Window access ✗");
    std::string shown;
    if (!previews.isEnabled()) {
        shown = tr("Previews off");
    } else if (previews.isGranted()) {
        shown = tr("Previews ✓");
    } else {
        shown = tr("Previews: waiting for permission");
    }
    return access + " · " + shown;
}

MenuRow StatusMenu::previewsRow() const {
    const PreviewStore& previews = shell_.previews();
    MenuRow made = row(tr("Hover previews"), MenuCommand::togglePreviews);
    if (!previews.isEnabled()) return made;
    if (previews.isGranted()) {
        made.mark = CheckMark::on;
    } else {
        made.mark = CheckMark::mixed;
        made.title = tr("Hover previews — permission required");
    }
    return made;
}

MenuRow StatusMenu::undoRow() const {
    const std::optional<UndoableRemoval>& removal = shell_.pinned().undoableRemoval();
    MenuRow made = row(removal ? removal->label : tr("Undo"), MenuCommand::undoLastRemoval);
    made.isHidden = !removal;
    return made;
}

std::vector<MenuRow> StatusMenu::docksSubmenu() const {
    const PinnedStore& pinned = shell_.pinned();
    const bool autoHide = shell_.dockPreferences().autoHide();
    const DockController* dock = shell_.dock();
    std::vector<MenuRow> rows;
    for (const Profile& profile : pinned.profiles()) {
        // TRANSLATORS: a dock's row in the tray icon's menu: the dock's name, then the screen edge
        // it stands on ("Main — bottom").
        MenuRow made = row(trf("%@ — %@", nameInText(profile.name), edgeInRow(profile.edge)), MenuCommand::toggleDock);
        made.chord = liveChord(HotKeyAction::profile(profile.id));
        made.dock = profile.id;
        made.isEnabled = profile.isEnabled;
        const bool shown = autoHide ? dock && dock->isHeldOut(profile.id) : profile.isVisible;
        made.mark = profile.isEnabled && shown ? CheckMark::on : CheckMark::off;
        rows.push_back(std::move(made));
    }
    rows.push_back(MenuRow::separator());
    MenuRow add = row(tr("New dock"), MenuCommand::addDock);
    add.isEnabled = pinned.profiles().size() < kMaxProfiles;
    rows.push_back(std::move(add));
    return rows;
}

std::string StatusMenu::liveChord(const HotKeyAction& action) const {
    const HotKeyDispatch* hotKeys = shell_.hotKeys();
    if (!hotKeys || !shell_.dockPreferences().hotkeysEnabled() || !hotKeys->registration()) return {};
    const auto chord = hotKeys->registered().find(action);
    if (chord == hotKeys->registered().end()) return {};
    return hotKeys->chordText().display(chord->second);
}

MenuRow StatusMenu::featureRow(std::string_view title, MenuCommand command, Kind action) const {
    MenuRow made = row(tr(title), command);
    made.chord = liveChord(HotKeyAction(action));
    return made;
}

void StatusMenu::perform(const MenuRow& row) {
    HotKeyDispatch* hotKeys = shell_.hotKeys();
    const auto palette = [hotKeys](PaletteCommand command) {
        if (hotKeys) togglePalette(hotKeys->targets, command);
    };
    switch (row.command) {
        case MenuCommand::none:
            break;
        case MenuCommand::showOverview:
            palette(PaletteCommand::overview);
            break;
        case MenuCommand::showAppSearch:
            palette(PaletteCommand::appSearch);
            break;
        case MenuCommand::showFileSearch:
            palette(PaletteCommand::fileSearch);
            break;
        case MenuCommand::showShortcutSheet:
            palette(PaletteCommand::shortcutSheet);
            break;
        case MenuCommand::toggleFocusMode:
            if (hotKeys && hotKeys->targets.focusMode)
                hotKeys->targets.focusMode->setActive(!hotKeys->targets.focusMode->isActive());
            break;
        case MenuCommand::toggleWorkspace:
            if (hotKeys && hotKeys->targets.workspace) hotKeys->targets.workspace->toggle();
            break;
        case MenuCommand::undoLastRemoval:
            shell_.pinned().undoLastRemoval();
            break;
        case MenuCommand::togglePreviews: {
            PreviewStore& previews = shell_.previews();
            // Asking again keeps the switch on: the user wants previews and lacks the grant.
            if (previews.isEnabled() && !previews.isGranted()) {
                previews.ensurePermission();
            } else {
                previews.setEnabled(!previews.isEnabled());
            }
            break;
        }
        case MenuCommand::checkForUpdates:
            shell_.updater().checkForUpdates();
            break;
        case MenuCommand::openSettings:
            shell_.openSettings();
            break;
        case MenuCommand::openHelp:
            shell_.openHelp();
            break;
        case MenuCommand::toggleDock:
            if (row.dock && hotKeys) hotKeys->toggleDockFromUserGesture(*row.dock);
            break;
        case MenuCommand::addDock:
            shell_.pinned().addProfile(shell_.pinned().nextDefaultProfileName());
            shell_.openSettings();
            break;
        case MenuCommand::quit:
            platform_.process.quit();
            break;
    }
}

bool StatusMenu::click(StatusClick click) {
    const bool menu = click != StatusClick::left;
    const char* button = click == StatusClick::right  ? "right button"
                         : click == StatusClick::left ? "left button"
                                                      : "Ctrl+left button";
    log("status item click: ", button, " → ", menu ? "menu" : "settings");
    if (!menu) shell_.openSettings();
    return menu;
}

}  // namespace quillbern
