#include "core/tiles/ThumbnailCache.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/foundation/Log.h"

namespace quillbern {

ThumbnailCache::ThumbnailCache(Ports ports)
    : ports_(ports),
      queue_(ports.threads, ports.mainLoop, std::string(kQueueLabel),
             "the thread that makes thumbnails did not start; files show their icons") {
    queue_.onLetGo = [&thumbnailer = ports.thumbnailer] { thumbnailer.rest(); };
}

std::string ThumbnailCache::key(const Path& file, std::optional<WallTime> modified) {
    std::string key = file + "|";
    if (!modified) return key + "-";
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, modified->sinceEpoch).ptr;
    return key.append(digits, end);
}

double ThumbnailCache::scaleFor(std::span<const double> screenScales) {
    if (screenScales.empty()) return 2;
    return *std::ranges::max_element(screenScales);
}

void ThumbnailCache::thumbnail(const Path& file, std::optional<WallTime> modified, double side, double scale,
                               CancelToken token, std::function<void(ImageHandle)> done) {
    expectOnLoop(ports_.mainLoop);
    std::string wanted = key(file, modified);
    if (const auto it = cache_.find(wanted); it != cache_.end()) {
        done(it->second);
        return;
    }
    if (givenUp_.contains(wanted)) {
        done(nullptr);
        return;
    }
    if (token.isCancelled()) return;
    const int sidePx = std::max(1, static_cast<int>(std::lround(side * scale)));
    make(file, sidePx, scale, std::move(wanted), std::move(token), std::move(done), kFirstMakingTime);
}

void ThumbnailCache::make(const Path& file, int sidePx, double scale, std::string wanted, CancelToken token,
                          std::function<void(ImageHandle)> done, Duration limit) {
    const bool queued = queue_.async(
        token, [&loop = ports_.mainLoop, &thumbnailer = ports_.thumbnailer, alive = lifetime_.token(), this, file,
                sidePx, scale, wanted = std::move(wanted), done, limit](const CancelToken& token) {
            const Thumbnail made = thumbnailer.thumbnail(file, sidePx, limit);
            ImageHandle image;
            if (made.image) {
                // Its size in points is its pixels over the scale it was made for.
                auto shown = std::make_shared<Image>(*made.image);
                shown->scale = scale;
                image = std::move(shown);
            }
            loop.post([alive, this, file, sidePx, scale, token, wanted, done, image, limit, outcome = made.outcome] {
                if (!alive.isAlive() || token.isCancelled()) return;
                if (outcome == Thumbnail::Outcome::overran && limit < kMostMakingTime) {
                    make(file, sidePx, scale, wanted, token, done, kMostMakingTime);
                    return;
                }
                if (outcome == Thumbnail::Outcome::overran || outcome == Thumbnail::Outcome::lost) {
                    log("a thumbnail was given up: ",
                        outcome == Thumbnail::Outcome::overran ? "it was not made in time" : "its making crashed",
                        "; the file shows its icon — ", escapedForLog(file));
                    if (givenUp_.size() >= kMostGivenUp) givenUp_.clear();
                    givenUp_.insert(wanted);
                }
                if (image) store(wanted, image);
                done(image);
            });
        });
    if (!queued) done(nullptr);
}

void ThumbnailCache::store(const std::string& key, ImageHandle image) {
    // A request for the same key that finished first only has its picture replaced.
    if (!cache_.insert_or_assign(key, std::move(image)).second) return;
    insertionOrder_.push_back(key);
    if (insertionOrder_.size() <= kCapacity) return;
    for (std::size_t i = 0; i < kEviction; ++i) {
        cache_.erase(insertionOrder_.front());
        insertionOrder_.pop_front();
    }
}

}  // namespace quillbern
