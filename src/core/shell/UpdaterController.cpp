#include "core/shell/UpdaterController.h"

#include <future>
#include <memory>

namespace quillbern {

UpdaterController::UpdaterController(Updater* updater, RunLoop& mainLoop) : updater_(updater), mainLoop_(mainLoop) {
    if (!updater_) return;
    relaunchNotice_ = updater_->onWillRelaunch([this, token = lifetime_.token()] {
        if (token.isAlive()) willRelaunch();
    });
    updater_->start();
}

UpdaterController::~UpdaterController() = default;

bool UpdaterController::canCheckForUpdates() const {
    return updater_ && updater_->canCheck();
}

void UpdaterController::checkForUpdates() {
    if (updater_) updater_->checkNow();
}

bool UpdaterController::automaticallyChecksForUpdates() const {
    return updater_ && updater_->checksAutomatically();
}

void UpdaterController::setAutomaticallyChecksForUpdates(bool on) {
    if (updater_) updater_->setChecksAutomatically(on);
}

std::optional<WallTime> UpdaterController::lastUpdateCheckDate() const {
    return updater_ ? updater_->lastCheck() : std::nullopt;
}

void UpdaterController::willRelaunch() {
    if (mainLoop_.isCurrent()) {
        if (onWillRelaunch) onWillRelaunch();
        return;
    }
    // Released when the task has run, or when the loop drops it unrun, so the updater's
    // thread never waits for a loop that has ended.
    struct Done {
        std::promise<void> promise;
        ~Done() { promise.set_value(); }
    };
    auto done = std::make_shared<Done>();
    std::future<void> finished = done->promise.get_future();
    mainLoop_.post([this, token = lifetime_.token(), done = std::move(done)] {
        if (token.isAlive() && onWillRelaunch) onWillRelaunch();
    });
    finished.wait();
}

}  // namespace quillbern
