#include "core/tiles/LocationContent.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/platform/OpenDocument.h"

namespace quillbern {

LocationContent::LocationContent(LocationBrowser& browser, PinnedStore& store, PinnedLocation location, Uuid profileID,
                                 Task dismiss)
    : browser_(browser),
      store_(store),
      location_(std::move(location)),
      profileID_(profileID),
      dismiss_(std::move(dismiss)),
      watcher_(browser.ports().folderEvents, browser.ports().files) {}

LocationContent::~LocationContent() {
    disappear();
}

void LocationContent::appear() {
    expectOnLoop(browser_.ports().mainLoop);
    reload(location_.path);
    startWatching(location_.path);
}

void LocationContent::disappear() {
    watcher_.stop();
    reloadTimer_.cancel();
}

void LocationContent::scheduleReload(const Path& path) {
    reloadTimer_ = browser_.ports().mainLoop.after(kReloadDelay, lifetime_.guard([this, path] { reload(path); }));
}

void LocationContent::startWatching(const Path& path) {
    // A folder that cannot be watched is still listed, only not kept current.
    watcher_.watch(
        path, [this, path] { scheduleReload(path); },
        [this](const std::optional<Path>& newPath) { handleDisplaced(newPath); });
}

void LocationContent::handleDisplaced(const std::optional<Path>& newPath) {
    if (newPath) {
        // The dock's tile follows the folder; a dock or tile gone meanwhile changes nothing.
        store_.relocateLocation(location_.id, *newPath, profileID_);
        location_.path = *newPath;
        location_.name = browser_.ports().files.displayName(*newPath);
        startWatching(*newPath);
        reload(*newPath);
        changed();
        return;
    }
    reloadTimer_.cancel();
    // A listing still running is of a folder that is gone.
    ++loadGeneration_;
    vanished_ = true;
    loaded_ = true;
    denied_ = false;
    truncated_ = false;
    entries_.clear();
    changed();
}

void LocationContent::reload(const Path& path) {
    const std::uint64_t generation = ++loadGeneration_;
    browser_.list(path, lifetime_.guard([this, generation, path](FolderListing listing) {
        if (generation != loadGeneration_) return;
        truncated_ = listing.truncated;
        entries_ = std::move(listing.entries);
        loaded_ = true;
        vanished_ = false;
        denied_ = listing.failed;
        if (!latchedColumns_) latchedColumns_ = columnsFor(entries_.size());
        browser_.rememberCount(path, entries_.size());
        changed();
    }));
}

std::size_t LocationContent::displayCount() const {
    if (loaded_) return entries_.size();
    return browser_.lastCount(location_.path).value_or(kFirstGuess);
}

int LocationContent::columnsFor(std::size_t count) {
    return static_cast<int>(std::clamp<std::size_t>(count, 2, 5));
}

int LocationContent::columns() const {
    return latchedColumns_.value_or(columnsFor(displayCount()));
}

int LocationContent::rows() const {
    const std::size_t count = std::max<std::size_t>(displayCount(), 1);
    const auto perRow = static_cast<std::size_t>(columns());
    return static_cast<int>((count + perRow - 1) / perRow);
}

double LocationContent::rawGridHeight() const {
    const int n = rows();
    return n * kRowHeight + std::max(n - 1, 0) * kSpacing + 2 * kGridMargin;
}

double LocationContent::gridFrameHeight() const {
    return std::min(rawGridHeight(), kMaxGridHeight);
}

double LocationContent::popoverWidth(double scrollerWidth) const {
    const int n = columns();
    double width = n * kColumnWidth + (n - 1) * kSpacing + 2 * kGridMargin;
    if (rawGridHeight() > kMaxGridHeight) width += scrollerWidth;
    return std::max(width, kMinWidth);
}

void LocationContent::openItem(const LocationEntry& entry) {
    openDocument(browser_.ports().launcher, browser_.ports().alerts, entry.path);
    dismiss_();
}

void LocationContent::revealItem(const LocationEntry& entry) {
    browser_.ports().launcher.reveal({entry.path});
    dismiss_();
}

void LocationContent::openFolder() {
    openDocument(browser_.ports().launcher, browser_.ports().alerts, location_.path);
    dismiss_();
}

}  // namespace quillbern
