#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/HotKeyAction.h"

namespace quillbern {

class AppShell;
struct Platform;

enum class MenuCommand {
    none,
    showOverview,
    showAppSearch,
    showFileSearch,
    toggleFocusMode,
    toggleWorkspace,
    showShortcutSheet,
    undoLastRemoval,
    togglePreviews,
    checkForUpdates,
    openSettings,
    openHelp,
    toggleDock,
    addDock,
    quit,
};

// Mixed: switched on, but waiting for something the user has to allow.
enum class CheckMark { off, on, mixed };

// One row of a menu as it stands when the menu opens.
struct MenuRow {
    std::string title;
    MenuCommand command = MenuCommand::none;
    // The dock that a row of the docks submenu shows, hides or holds out.
    std::optional<Uuid> dock;
    // Typed with Ctrl; 0 for none.
    char key = 0;
    // The live global shortcut that does the same, shown where `key` shows; empty for none.
    std::string chord;
    bool isSeparator = false;
    bool isEnabled = true;
    bool isHidden = false;
    CheckMark mark = CheckMark::off;
    std::vector<MenuRow> submenu;

    static MenuRow separator();
};

// How the status item was clicked.
enum class StatusClick { left, right, controlLeft };

// The status menu: the permissions at a glance, the docks, the palettes, focus mode and the
// workspace, the undo of the last removal, hover previews, updates, Settings, Help and
// Quit. It is described afresh each time it opens, so it never shows stale titles, marks or
// docks. Rows of parts the program lacks do nothing when chosen; "Check for Updates…" shows
// disabled instead, as "Workspace" does while the workspace is empty. Main thread.
class StatusMenu {
public:
    StatusMenu(AppShell& shell, Platform& platform);
    StatusMenu(const StatusMenu&) = delete;
    StatusMenu& operator=(const StatusMenu&) = delete;

    // Reads the screen-capture grant again, then describes the menu.
    std::vector<MenuRow> aboutToOpen();
    std::vector<MenuRow> rows() const;
    void perform(const MenuRow& row);
    // Logs the click; answers whether it opens the menu. Otherwise it opened Settings.
    bool click(StatusClick click);

private:
    std::string statusLine() const;
    MenuRow previewsRow() const;
    MenuRow undoRow() const;
    std::vector<MenuRow> docksSubmenu() const;
    // The chord the system accepted for the action; empty while global shortcuts are off or
    // the action has no live chord.
    std::string liveChord(const HotKeyAction& action) const;
    MenuRow featureRow(std::string_view title, MenuCommand command, HotKeyAction::Kind action) const;

    AppShell& shell_;
    Platform& platform_;
};

}  // namespace quillbern
