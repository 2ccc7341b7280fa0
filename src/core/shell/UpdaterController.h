#pragma once

#include <functional>
#include <optional>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/Updater.h"

namespace quillbern {

// The program's one contact with a software updater: starts it when made, offers its check
// command and its automatic-check setting, and brings its relaunch notice to the main thread
// before the relaunch goes ahead. Without an updater (so on Linux) nothing can be checked,
// nothing is shown and nothing relaunches. Main thread.
class UpdaterController {
public:
    // No updater: `updater` is null.
    UpdaterController(Updater* updater, RunLoop& mainLoop);
    ~UpdaterController();
    UpdaterController(const UpdaterController&) = delete;
    UpdaterController& operator=(const UpdaterController&) = delete;

    bool hasUpdater() const { return updater_ != nullptr; }
    bool canCheckForUpdates() const;
    void checkForUpdates();
    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool on);
    std::optional<WallTime> lastUpdateCheckDate() const;

    // Runs on the main thread just before the updater relaunches the program; set once by
    // the application.
    std::function<void()> onWillRelaunch;

private:
    // Any thread: returns once onWillRelaunch has run on the main thread.
    void willRelaunch();

    Updater* updater_;
    RunLoop& mainLoop_;
    Lifetime lifetime_;
    Subscription relaunchNotice_;
};

}  // namespace quillbern
