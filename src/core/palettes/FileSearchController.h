#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/model/PinnedStore.h"
#include "core/palettes/FileOpenWith.h"
#include "core/palettes/FileSearchEngine.h"
#include "core/palettes/FileSearchState.h"
#include "core/palettes/PalettePresenter.h"
#include "core/platform/Alerts.h"
#include "core/platform/Icons.h"
#include "core/platform/KeyboardLayout.h"
#include "core/platform/Launcher.h"
#include "core/platform/MenuModel.h"
#include "core/platform/Menus.h"
#include "core/platform/RunningApps.h"
#include "core/shortcuts/HotKeyTargets.h"

namespace quillbern {

// The file palette: a browser over the user's folders and the docks' pinned folders, with
// a search beneath the level shown, on the search line of the display under the pointer.
// Keys move, open, enter, go up and open the picker menu, which pins a folder to a dock or
// opens a file with another application; Command with a digit opens with the n-th
// application at once. Opening never runs a file: it goes to an application as a document.
// Each show starts from the top level. Main thread.
class FileSearchController final : public Palette {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PalettePorts palette;
        Threads& threads;
        const FileSystem& files;
        const TextServices& text;
        const Icons& icons;
        Launcher& launcher;
        Menus& menus;
        const KeyboardLayout& layout;
        const RunningApps& apps;
        Alerts& alerts;
        const Clock& clock;
        // The application that asks the user for access while a protected folder is first
        // read; none where the system asks nothing, as on Linux.
        std::optional<AppId> folderAccessPrompt;
    };

    FileSearchController(Ports ports, PinnedStore& pinned);

    bool isShown() const override;
    void show() override;
    void dismiss() override;

    // Opens a file and closes the palette, or enters a folder and stays.
    void activate(const FileEntry& entry);
    // Keys that reach the panel past the field; true when taken.
    bool handleKey(const KeyEvent& key);
    // Command keys, before anything else sees them; true when taken.
    bool handleKeyEquivalent(const KeyEvent& key);
    // The picker of the entry, at a point on screen (a row's button) or, from the keyboard,
    // at a fixed place near the top of the palette. Returns once the menu has closed.
    void showPickerMenu(const FileEntry& entry, std::optional<PointBL> at);
    // What the picker of the entry holds at this moment.
    MenuModel pickerMenu(const FileEntry& entry);
    // Closes the palette and opens the file with that application.
    void openFile(const FileEntry& entry, const Path& appPath);
    // While the folder being read waits on the system's prompt for access, neither a
    // click elsewhere nor the loss of the keyboard closes the palette.
    bool standDownForPermissionPrompt() const;

    // The opening's model; none while hidden.
    FileSearchState* state() const { return state_.get(); }
    FileSearchEngine& engine() { return engine_; }
    const Panel* panel() const { return presenter_.panel(); }
    bool isPickerMenuOpen() const { return isPickerMenuOpen_; }

    // Where a keyboard-opened picker stands in the content.
    static constexpr Point kKeyboardPickerPoint{24, 68};

private:
    // Each listing applied: a palette that lost the keyboard to the system's prompt takes it back.
    void levelLoadSettled();
    void focusField();
    void reveal(const FileEntry& entry);

    Ports ports_;
    PinnedStore& pinned_;
    FileSearchEngine engine_;
    std::shared_ptr<FileSearchState> state_;
    std::weak_ptr<PaletteView> view_;
    bool isPickerMenuOpen_ = false;
    bool pickerSawOutsideClick_ = false;
    Lifetime lifetime_;
    PalettePresenter presenter_;
};

}  // namespace quillbern
