#pragma once

#include <optional>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/foundation/Time.h"

namespace quillbern {

// A software updater that checks for, installs and relaunches new versions by itself. Linux
// has none: the package manager updates the program.
class Updater {
public:
    virtual ~Updater() = default;

    virtual void start() = 0;
    virtual bool canCheck() const = 0;
    // Looks for an update now, with the updater's own windows.
    virtual void checkNow() = 0;
    virtual bool checksAutomatically() const = 0;
    virtual void setChecksAutomatically(bool on) = 0;
    virtual std::optional<WallTime> lastCheck() const = 0;
    // [any] Just before the updater relaunches the program; the relaunch waits until the
    // task has returned.
    [[nodiscard]] virtual Subscription onWillRelaunch(Task task) = 0;
};

}  // namespace quillbern
