#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/PinnedItem.h"
#include "core/model/PinnedStore.h"
#include "core/tiles/DirectoryWatcher.h"
#include "core/tiles/FolderListing.h"
#include "core/tiles/LocationBrowser.h"

namespace quillbern {

// One opening of a pinned folder's popover: the folder's most recent items, kept current
// while it is open, following the folder when it moves, and the notes for a folder that
// is gone, unreadable or empty. Its size is settled before the first listing arrives, from
// what the folder showed last, and its columns by that first listing. Main thread.
class LocationContent {
public:
    // Measures in points.
    static constexpr double kColumnWidth = 88;
    static constexpr double kRowHeight = 104;
    static constexpr double kSpacing = 8;
    static constexpr double kGridMargin = 10;
    static constexpr double kMaxGridHeight = 470;
    static constexpr double kMinWidth = 280;
    // Sized for this many items before a folder was ever listed.
    static constexpr std::size_t kFirstGuess = 12;
    // A burst of changes lists the folder once, this long after the last.
    static constexpr Duration kReloadDelay = 0.3;

    // `dismiss` closes the popover.
    LocationContent(LocationBrowser& browser, PinnedStore& store, PinnedLocation location, Uuid profileID,
                    Task dismiss);
    ~LocationContent();
    LocationContent(const LocationContent&) = delete;
    LocationContent& operator=(const LocationContent&) = delete;

    // Lists the folder and watches it.
    void appear();
    // Stops watching and the pending reload; a listing still running may still apply.
    void disappear();

    // The folder as shown: its path and name follow a move.
    const PinnedLocation& location() const { return location_; }
    const std::vector<LocationEntry>& entries() const { return entries_; }
    bool truncated() const { return truncated_; }
    bool loaded() const { return loaded_; }
    bool vanished() const { return vanished_; }
    bool denied() const { return denied_; }

    // The listed count once loaded, else what the folder showed last (12 when never).
    std::size_t displayCount() const;
    int columns() const;
    int rows() const;
    double rawGridHeight() const;
    // The grid area's frame: taller grids scroll.
    double gridFrameHeight() const;
    // `scrollerWidth` is what a scroll bar takes beside a grid that scrolls (0 where bars
    // overlay the content).
    double popoverWidth(double scrollerWidth) const;
    // 2 to 5 columns, as many as items.
    static int columnsFor(std::size_t count);

    // Each opens with the application its type asks for, never runs it, and dismisses.
    void openItem(const LocationEntry& entry);
    void revealItem(const LocationEntry& entry);
    void openFolder();

    // After every change of what it shows.
    Signal<> changed;

private:
    void reload(const Path& path);
    void scheduleReload(const Path& path);
    void startWatching(const Path& path);
    void handleDisplaced(const std::optional<Path>& newPath);

    LocationBrowser& browser_;
    PinnedStore& store_;
    PinnedLocation location_;
    Uuid profileID_;
    Task dismiss_;
    std::vector<LocationEntry> entries_;
    bool truncated_ = false;
    bool loaded_ = false;
    bool vanished_ = false;
    bool denied_ = false;
    std::optional<int> latchedColumns_;
    std::uint64_t loadGeneration_ = 0;
    DirectoryWatcher watcher_;
    Timer reloadTimer_;
    Lifetime lifetime_;
};

}  // namespace quillbern
