#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/PinnedStore.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/FileSystem.h"
#include "core/platform/FolderPicker.h"
#include "core/platform/Icons.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The apps card of the dock editor: the installed applications found by name and pinned to
// the dock, its folders and its Trash tile. Everything goes through the store, at the end of
// the dock and without undo. Main thread.
class AppsCardModel {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PinnedStore& pinned;
        const TextServices& text;
        const FileSystem& files;
        FolderPicker& folderPicker;
        const Icons& icons;
    };
    static constexpr std::size_t kResultLimit = 8;

    AppsCardModel(Ports ports, Uuid profileID);
    AppsCardModel(const AppsCardModel&) = delete;
    AppsCardModel& operator=(const AppsCardModel&) = delete;

    // Another dock is edited; what was typed, found and fetched stays.
    void setProfile(const Uuid& profileID);
    const Uuid& profileID() const { return profileID_; }

    // The scan's answer, which the pane takes on the main loop each time it comes on screen;
    // until the first one the card reads "Reading your applications…".
    void setInstalled(std::vector<InstalledApp> apps);
    const std::vector<InstalledApp>& installed() const { return installed_; }
    bool hasScanned() const { return hasScanned_; }

    const std::string& searchText() const { return searchText_; }
    void setSearchText(std::string text);
    // The installed applications whose name holds the search text as typed (spaces count),
    // case ignored, in name order, the first eight; none for an empty text.
    std::vector<InstalledApp> results() const;
    // "Reading your applications…", "No apps match “…”", or none.
    std::optional<std::string> statusLine() const;

    bool isPinned(const InstalledApp& app) const;
    // Nothing when the dock holds the application already, or is gone.
    void pin(const InstalledApp& app);
    // Return in the search field: pins the first result the dock does not hold.
    void submit();

    bool canAddTrash() const;
    void addTrash();

    // Opens the folder chooser, which pins the chosen folders in the order chosen when it
    // is confirmed. Folders the dock shows already are passed over; folders that could not
    // be pinned are named in folderNote.
    void addFolders();
    const std::optional<std::string>& folderNote() const { return folderNote_; }

    // A result row's icon: kept by the application's path, always an image.
    ImageHandle iconForPath(const Path& path);
    // An item row's icon: kept by identity once found; null (asked again next time) when
    // the application cannot be found.
    ImageHandle iconForApp(const PinnedApp& app);

    // The card reads differently: the store, the list, the text or the note changed.
    Signal<> changed;

private:
    void pinChosen(const Uuid& profileID, const std::vector<Path>& paths);
    void setFolderNote(std::optional<std::string> note);

    Ports ports_;
    Uuid profileID_;
    std::vector<InstalledApp> installed_;
    // Each name in lower case, in the same order.
    std::vector<std::string> loweredNames_;
    bool hasScanned_ = false;
    std::string searchText_;
    std::optional<std::string> folderNote_;
    std::map<std::string, ImageHandle, std::less<>> iconCache_;
    Subscription storeChanged_;
    Lifetime lifetime_;
};

}  // namespace quillbern
