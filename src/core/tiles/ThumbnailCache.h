#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/foundation/CancelToken.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Time.h"
#include "core/platform/OnDemandQueue.h"
#include "core/platform/Threads.h"
#include "core/platform/Thumbnailer.h"

namespace quillbern {

// The thumbnails of the folder popover's files, made off the main thread one at a time and
// the most recent ones kept, so a popover opened again shows them at once. A file's key
// holds its change time: a changed file is made again under a new key, and the stale
// picture stays until it is evicted. A thumbnail not made in its first short time is made
// again, for longer, once every thumbnail asked meanwhile has had its first; one not made in
// that, or whose making crashed, is given up until its file changes. Main thread.
class ThumbnailCache {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        RunLoop& mainLoop;
        Threads& threads;
        const Thumbnailer& thumbnailer;
    };
    // Kept after an insertion; past it the oldest keys go, a quarter at a time.
    static constexpr std::size_t kCapacity = 256;
    static constexpr std::size_t kEviction = 64;
    static constexpr std::string_view kQueueLabel = "quillbern.thumbs";
    // A thumbnail's first making: what a photograph of the largest size read takes several
    // times over.
    static constexpr Duration kFirstMakingTime = 0.5;
    // Its second and last.
    static constexpr Duration kMostMakingTime = 3;
    // Past it the given-up keys are forgotten, and made again when asked.
    static constexpr std::size_t kMostGivenUp = 4096;

    explicit ThumbnailCache(Ports ports);
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    // The file's path, "|", and its change time in the shortest text that reads back as
    // the same number; "-" for an unknown one.
    static std::string key(const Path& file, std::optional<WallTime> modified);
    // Pixels per point to make thumbnails at: the sharpest screen's, 2 without screens.
    static double scaleFor(std::span<const double> screenScales);

    // A thumbnail `side` points square at `scale` pixels a point: the kept one at once,
    // else made on the queue and handed to `done` on the main loop (null when the file has
    // none). A cancelled token stops the making if it has not begun, and both the
    // storing and the call when it has.
    void thumbnail(const Path& file, std::optional<WallTime> modified, double side, double scale, CancelToken token,
                   std::function<void(ImageHandle)> done);

    std::size_t size() const { return cache_.size(); }
    bool holds(const std::string& key) const { return cache_.contains(key); }

private:
    void make(const Path& file, int sidePx, double scale, std::string wanted, CancelToken token,
              std::function<void(ImageHandle)> done, Duration limit);
    void store(const std::string& key, ImageHandle image);

    Ports ports_;
    std::unordered_map<std::string, ImageHandle> cache_;
    // Keys in the order they were first stored, oldest first.
    std::deque<std::string> insertionOrder_;
    std::unordered_set<std::string> givenUp_;
    OnDemandQueue queue_;
    // Destroyed first, so a thumbnail that arrives afterwards finds no cache.
    Lifetime lifetime_;
};

}  // namespace quillbern
