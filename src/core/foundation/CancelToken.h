#pragma once

#include <atomic>
#include <memory>

namespace quillbern {

// A flag shared by whoever asked for work and the work itself: the asker cancels, the work
// looks, from any thread. Copies share one flag.
class CancelToken {
public:
    CancelToken() : cancelled_(std::make_shared<std::atomic<bool>>(false)) {}

    void cancel() const { cancelled_->store(true); }
    bool isCancelled() const { return cancelled_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace quillbern
