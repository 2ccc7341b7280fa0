#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "core/platform/Thumbnailer.h"

namespace quillbern {

// Gives the pictures (or outcomes) the test set for each file, none for the others, and
// records what was asked. Any thread.
class SimThumbnailer final : public Thumbnailer {
public:
    struct Request {
        Path file;
        int sidePx = 0;
        Duration limit = 0;
    };

    Thumbnail thumbnail(const Path& file, int sidePx, Duration limit) const override;
    void rest() const override;

    // A white picture of that many pixels square for the file.
    void setPicture(const Path& file, int sidePx);
    // The outcome for the file, while it takes that long: overran within a shorter limit.
    void setOutcome(const Path& file, Thumbnail::Outcome outcome, Duration takes = 0);
    std::vector<Request> requests() const;
    // How often it was told to rest.
    int rests() const;

private:
    mutable std::mutex mutex_;
    std::map<Path, ImageHandle> pictures_;
    std::map<Path, std::pair<Thumbnail::Outcome, Duration>> outcomes_;
    mutable std::vector<Request> requests_;
    mutable int rests_ = 0;
};

}  // namespace quillbern
