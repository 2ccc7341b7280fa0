#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "core/platform/Thumbnailer.h"

namespace quillbern {

// Gives the pictures the test set for each file, none for the others, and records what was
// asked. Any thread.
class SimThumbnailer final : public Thumbnailer {
public:
    struct Request {
        Path file;
        int sidePx = 0;
    };

    ImageHandle thumbnail(const Path& file, int sidePx) const override;
    void rest() const override;

    // A white picture of that many pixels square for the file.
    void setPicture(const Path& file, int sidePx);
    std::vector<Request> requests() const;
    // How often it was told to rest.
    int rests() const;

private:
    mutable std::mutex mutex_;
    std::map<Path, ImageHandle> pictures_;
    mutable std::vector<Request> requests_;
    mutable int rests_ = 0;
};

}  // namespace quillbern
