#include "core/tiles/LocationBrowser.h"

#include <string>
#include <utility>

namespace quillbern {

LocationBrowser::LocationBrowser(Ports ports)
    : ports_(ports),
      thumbnails_({.mainLoop = ports.mainLoop, .threads = ports.threads, .thumbnailer = ports.thumbnailer}),
      queue_(ports.threads, ports.mainLoop, std::string(kQueueLabel),
             "the thread that lists pinned folders did not start; their popovers stay empty") {}

void LocationBrowser::list(const Path& folder, std::function<void(FolderListing)> done) {
    expectOnLoop(ports_.mainLoop);
    const bool queued = queue_.async({}, [&loop = ports_.mainLoop, &files = ports_.files, alive = lifetime_.token(),
                                          folder, done](const CancelToken&) {
        // Moved, never copied, on its way back.
        auto listing = std::make_shared<FolderListing>(listRecentItems(files, folder, kShownItems));
        loop.post([alive, done, listing] {
            if (alive.isAlive()) done(std::move(*listing));
        });
    });
    if (queued) return;
    ports_.mainLoop.post([alive = lifetime_.token(), done = std::move(done)] {
        FolderListing unread;
        unread.failed = true;
        if (alive.isAlive()) done(std::move(unread));
    });
}

std::optional<std::size_t> LocationBrowser::lastCount(const Path& folder) const {
    const auto it = lastCounts_.find(folder);
    if (it == lastCounts_.end()) return std::nullopt;
    return it->second;
}

void LocationBrowser::rememberCount(const Path& folder, std::size_t count) {
    lastCounts_[folder] = count;
}

}  // namespace quillbern
