#include "core/tiles/LocationBrowser.h"

#include <string>
#include <utility>

#include "core/foundation/Log.h"

namespace quillbern {

LocationBrowser::LocationBrowser(Ports ports)
    : ports_(ports),
      thumbnails_({.mainLoop = ports.mainLoop, .threads = ports.threads, .thumbnailer = ports.thumbnailer}) {}

SerialQueue* LocationBrowser::queue() {
    if (!queue_) {
        queue_ = ports_.threads.serialQueue(std::string(kQueueLabel));
        if (!queue_) log("the thread that lists pinned folders did not start; their popovers stay empty");
    }
    return queue_.get();
}

void LocationBrowser::list(const Path& folder, std::function<void(FolderListing)> done) {
    expectOnLoop(ports_.mainLoop);
    SerialQueue* work = queue();
    if (!work) {
        ports_.mainLoop.post([alive = lifetime_.token(), done = std::move(done)] {
            FolderListing unread;
            unread.failed = true;
            if (alive.isAlive()) done(std::move(unread));
        });
        return;
    }
    work->async({}, [&loop = ports_.mainLoop, &files = ports_.files, alive = lifetime_.token(), folder,
                     done = std::move(done)](const CancelToken&) {
        // Moved, never copied, on its way back.
        auto listing = std::make_shared<FolderListing>(listRecentItems(files, folder, kShownItems));
        loop.post([alive, done, listing] {
            if (alive.isAlive()) done(std::move(*listing));
        });
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
