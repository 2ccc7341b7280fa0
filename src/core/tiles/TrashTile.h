#pragma once

#include <optional>

#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/PinnedStore.h"
#include "core/platform/Alerts.h"
#include "core/platform/FileSystem.h"
#include "core/platform/FolderEvents.h"
#include "core/platform/Launcher.h"
#include "core/platform/MenuModel.h"
#include "core/tiles/DirectoryWatcher.h"

namespace quillbern {

// A dock's Trash tile while it shows: whether the user's Trash holds anything, read when
// the tile appears and again whenever the Trash folder changes, until the tile goes. A
// Trash that cannot be read counts as neither, shows empty and is not watched. A click
// opens the Trash in the file manager; where nothing opens it, an alert says why once the
// click is over. Main thread.
class TrashTile {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        const FileSystem& files;
        FolderEvents& folders;
        Launcher& launcher;
        PinnedStore& pinned;
        Alerts& alerts;
        RunLoop& mainLoop;
    };

    // The tile appears: the Trash is read and, when it could be, watched.
    TrashTile(Ports ports, PinnedTrash trash, Uuid profileID);
    TrashTile(const TrashTile&) = delete;
    TrashTile& operator=(const TrashTile&) = delete;

    // True: something lies in the Trash, hidden items too; false: empty; none: unknown.
    std::optional<bool> isFull() const { return isFull_; }
    bool isWatching() const { return watcher_.isWatching(); }
    // A click.
    void open() const;
    // "Open in File Manager", then "Remove from dock", which can be undone.
    MenuModel menu() const;

    // When isFull changes.
    Signal<> changed;

private:
    static void openTrash(const Ports& ports, const std::optional<Path>& folder);
    std::optional<bool> readFullness() const;
    void refresh();

    Ports ports_;
    PinnedTrash trash_;
    Uuid profileID_;
    std::optional<Path> folder_;
    std::optional<bool> isFull_;
    DirectoryWatcher watcher_;
};

}  // namespace quillbern
