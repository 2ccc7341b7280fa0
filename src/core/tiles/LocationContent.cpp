#include "core/tiles/LocationContent.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillbern {

LocationContent::LocationContent(LocationBrowser& browser, PinnedStore& store, PinnedLocation location,
                                 Uuid profileID, Task dismiss)
    : browser_(browser),
      store_(store),
      location_(std::move(location)),
      profileID_(profileID),
      dismiss_(std::move(dismiss)) {}

LocationContent::~LocationContent() {
    disappear();
}

void LocationContent::appear() {
    expectOnLoop(browser_.ports().mainLoop);
    reload(location_.path);
}

void LocationContent::disappear() {
    reloadTimer_.cancel();
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
    browser_.ports().launcher.open(entry.path);
    dismiss_();
}

void LocationContent::revealItem(const LocationEntry& entry) {
    browser_.ports().launcher.reveal({entry.path});
    dismiss_();
}

void LocationContent::openFolder() {
    browser_.ports().launcher.open(location_.path);
    dismiss_();
}

}  // namespace quillbern
