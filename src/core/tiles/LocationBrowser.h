#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/Alerts.h"
#include "core/platform/FileSystem.h"
#include "core/platform/FolderEvents.h"
#include "core/platform/Launcher.h"
#include "core/platform/OnDemandQueue.h"
#include "core/platform/Threads.h"
#include "core/platform/Thumbnailer.h"
#include "core/tiles/FolderListing.h"
#include "core/tiles/ThumbnailCache.h"

namespace quillbern {

// What every pinned folder's popover shares for the whole run: the thread that lists
// folders, the thumbnails, and how many items each folder showed last, so a popover opens
// at the size it will keep. Main thread.
class LocationBrowser {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        RunLoop& mainLoop;
        const Clock& clock;
        Threads& threads;
        const FileSystem& files;
        FolderEvents& folderEvents;
        const Thumbnailer& thumbnailer;
        Launcher& launcher;
        Alerts& alerts;
    };
    // A popover shows at most this many items, the most recent.
    static constexpr std::size_t kShownItems = 100;
    static constexpr std::string_view kQueueLabel = "quillbern.folder";

    explicit LocationBrowser(Ports ports);
    LocationBrowser(const LocationBrowser&) = delete;
    LocationBrowser& operator=(const LocationBrowser&) = delete;

    const Ports& ports() const { return ports_; }
    ThumbnailCache& thumbnails() { return thumbnails_; }

    // Lists the folder's most recent items off the main thread; `done` runs on the main
    // loop. A listing is never cancelled: its asker decides whether it still counts.
    void list(const Path& folder, std::function<void(FolderListing)> done);

    // How many items the folder's popover showed last; none before it first listed.
    std::optional<std::size_t> lastCount(const Path& folder) const;
    void rememberCount(const Path& folder, std::size_t count);

private:
    Ports ports_;
    ThumbnailCache thumbnails_;
    std::map<Path, std::size_t> lastCounts_;
    OnDemandQueue queue_;
    Lifetime lifetime_;
};

}  // namespace quillbern
