#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/Updater.h"

namespace quillbern {

// An updater whose state the test sets; the relaunch notice comes from whichever thread
// calls relaunch(), which returns only once every listener has returned.
class SimUpdater final : public Updater {
public:
    void start() override { ++starts_; }
    bool canCheck() const override { return canCheck_; }
    void checkNow() override { ++checks_; }
    bool checksAutomatically() const override { return checksAutomatically_; }
    void setChecksAutomatically(bool on) override { checksAutomatically_ = on; }
    std::optional<WallTime> lastCheck() const override { return lastCheck_; }
    Subscription onWillRelaunch(Task task) override;

    void relaunch();
    void setCanCheck(bool can) { canCheck_ = can; }
    void setLastCheck(std::optional<WallTime> when) { lastCheck_ = when; }
    int starts() const { return starts_; }
    int checks() const { return checks_; }

private:
    int starts_ = 0;
    int checks_ = 0;
    bool canCheck_ = false;
    bool checksAutomatically_ = false;
    std::optional<WallTime> lastCheck_;
    std::mutex mutex_;
    std::vector<std::pair<int, Task>> listeners_;
    int lastListener_ = 0;
};

}  // namespace quillbern
