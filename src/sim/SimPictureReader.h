#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "core/platform/PictureReader.h"

namespace quillbern {

// Answers each file as the test set it (a white square of the size asked, or an outcome),
// none for the others, at once, and records what was asked. Any thread.
class SimPictureReader final : public PictureReader {
public:
    PictureRead read(const PictureAsk& ask, Duration limit) override;
    void rest() override;
    void stop() override;

    void setPicture(const Path& file);
    void setOutcome(const Path& file, PictureRead::Outcome outcome);
    std::vector<PictureAsk> asked() const;
    int rests() const;

private:
    mutable std::mutex mutex_;
    std::map<Path, PictureRead::Outcome> outcomes_;
    std::vector<PictureAsk> asked_;
    int rests_ = 0;
    bool stopped_ = false;
};

}  // namespace quillbern
