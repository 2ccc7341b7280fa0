#include "core/settings/HelpContent.h"

#include "core/foundation/Localization.h"

namespace quillbern {
namespace {

struct Entry {
    std::string_view title;
    const char* symbol;
    std::string_view text;
};

// Chords read as Linux desktops write them; Ctrl inside Quillbern's own windows stands
// where another platform's Command key would.
constexpr Entry kFeatureCards[] = {
    {trNoop("Docks"), "square.stack.3d.up",
     trNoop(
         // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
         "Each dock has its own apps, screen edge and display. Two docks can share one edge, on every display or on "
         "one screen, and each dock picks its position along the edge; a hidden dock answers only on its own stretch "
         "of it. Ctrl+Super+1 to Ctrl+Super+9 show and hide docks 1 to 9, and Ctrl+Super+0 the tenth. Every shortcut "
         "can be changed: the feature shortcuts in General, a dock's own in the Docks section (click it and press the "
         "combination). A shortcut that another application already holds is reported instead of taken. A dock's own "
         "shortcut follows the dock when you reorder the list, while the digit shortcuts follow the order; the list "
         "shows each dock's current shortcut.")},
    {trNoop("Auto-hide"), "eye.slash",
     trNoop(
         "Hidden docks come back when the pointer reaches their stretch of the edge. Busy edges (the top edge, and "
         "edges between displays) wait for a short pause first, set in General. While a window is full screen, the "
         "edge answers to a knock: touch the edge, pull back (a glowing line confirms the tap), and touch it again "
         "while the line shows. Any dock can ask for the knock always (its Reveal option in the Docks section); the "
         "knock tempo is set in General. On an edge shared with another display the crossings are the knocks: cross "
         "onto that screen and back, twice. A click elsewhere sends a revealed dock away, and no dock comes out while "
         "a menu is open.")},
    {trNoop("Pinning"), "pin",
     trNoop(
         "Drag an application from your file manager or your applications menu onto a dock to pin it; a folder pins "
         "as a location you can browse. Drag tiles to reorder them. A file dropped on a pinned application opens with "
         "it, and files dropped on the Trash tile move to the Trash. Add the Trash tile from the Docks section.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("All open apps — Ctrl+Super+A"), "rectangle.split.3x1",
     // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
     trNoop("Ctrl+Super+A, or a Ctrl-click on any dock, shows every open application in one row, most recent first. "
            "Enter brings the previous application forward, so Ctrl+Super+A then Enter switches between your two "
            "latest. The arrow keys move, Escape closes, and a right-click on an icon picks one window.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Search apps — Ctrl+Super+S"), "magnifyingglass",
     trNoop(
         // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
         "Ctrl+Super+S and a few letters list every matching installed application, in a dock or not; Enter opens "
         "the selected one. The + of a row or Ctrl+Enter pins it to a dock; Ctrl+1 to Ctrl+9 pin it to docks 1 to 9, "
         "and Ctrl+0 to the tenth. Escape clears the field first, then closes. Automation link: "
         "quillbern://search/toggle.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Open a file — Ctrl+Super+O"), "folder",
     trNoop(
         // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
         "Ctrl+Super+O browses your working folders: Desktop, Documents, Downloads and every folder pinned to a dock. "
         "Enter opens a folder, or a file with its usual application. Typing searches the current folder and a few "
         "levels below. Ctrl+Enter lists the applications that can open the selected file (Ctrl+1 to Ctrl+9 pick "
         "one) and Show in File Manager, and on a folder pins it to a dock. Backspace in an empty field or Ctrl+Up "
         "goes up a level; Escape clears the field first, then closes. A folder you may not read shows a note "
         "instead of its files. Automation link: quillbern://files/toggle.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Focus mode — Ctrl+Super+V"), "circle.dashed.inset.filled",
     trNoop(
         // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
         "Focus mode dims the display of the active window around it, that display only, and blurs it where your "
         "compositing manager can. Ctrl+Super+V or the tray icon's menu toggles it. The veil follows the focus across "
         "displays and steps aside while you drag a window. Its darkness is set in Appearance and also drives the "
         "optional landing spotlight.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Workspace — Ctrl+Super+W"), "rectangle.grid.2x2",
     // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
     trNoop("Drag an application tile onto the desktop to add the application to the workspace: its windows tile "
            "themselves in the order added, exactly as the ghost grid showed during the drag. Drop a member's tile on "
            "another member's cell to swap them. Ctrl+Super+W shows or hides the workspace, and the first press brings "
            "back a member that went full screen. Escape cancels a drag, and a tile's context menu removes its "
            "application. Full screen stays each window's own, as your window manager offers it.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Every shortcut — Ctrl+Super+K"), "keyboard",
     // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
     trNoop("Ctrl+Super+K shows every shortcut that answers right now, the feature shortcuts and each dock's own, from "
            "the live list; any key closes it. Change them in Settings → General, or per dock in Settings → Docks. "
            "Automation link: quillbern://shortcuts/toggle.")},
    // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
    {trNoop("Peek at every dock — Ctrl+Super+P"), "eye",
     // TRANSLATORS: write the key names (Ctrl, Enter…) as the "keyboard key" texts do.
     trNoop("Hold Ctrl+Super+P to bring every hidden dock out; release it and they go back. Nothing is toggled. The "
            "shortcut exists only while auto-hide is on.")},
    {trNoop("Hover previews"), "eye",
     trNoop("Hover previews are optional live thumbnails of an application's windows; switch them on in the Hover "
            "previews section. Quillbern then reads your windows' pictures, and uses them for nothing else. Your docks "
            "work fully without them.")},
    {trNoop("Automation"), "link",
     trNoop(
         "The quillbern:// links can be opened from launchers, your desktop's keyboard shortcuts, xdg-open or "
         "scripts. Each dock's show, hide and toggle links are shown in the Docks section; quillbern://focus/toggle "
         "switches focus mode, quillbern://overview/toggle opens the application row and "
         "quillbern://shortcuts/toggle shows the shortcut sheet. A keyboard shortcut of your desktop can run xdg-open "
         "with one of these links.")},
    {trNoop("Permissions"), "lock.shield",
     trNoop(
         "Window access is the one thing Quillbern needs: it lets Quillbern list and raise other applications' "
         "windows, and on Linux it is there while a window manager that follows EWMH runs. Window pictures are "
         "optional and serve only the hover previews. The file palette reads a folder only when you open it. Nothing "
         "else is asked for, everything stays on your computer, and Quillbern uses no network at all.")},
};

}  // namespace

std::vector<HelpCard> HelpContent::featureCards() {
    std::vector<HelpCard> cards;
    for (const Entry& entry : kFeatureCards)
        cards.push_back({tr(entry.title), entry.symbol, tr(entry.text)});
    return cards;
}

HelpCard HelpContent::walkthroughCard() {
    return {tr("Walkthrough"), "sparkles",
            tr("The walkthrough shows the cards of the first launch again: window access, hover previews and "
               "opening at login.")};
}

std::string HelpContent::walkthroughButtonTitle() {
    return tr("Show the walkthrough again");
}

}  // namespace quillbern
