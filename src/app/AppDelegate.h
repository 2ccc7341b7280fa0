#pragma once

#include <functional>
#include <memory>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/RunLoop.h"

namespace quillbern {

class StatusItem;

// Creates the program's long-lived objects in order, wires them, and takes them down
// again in the reverse order at the end of the run.
class AppDelegate {
public:
    struct Services {
        RunLoop& mainLoop;
        const Clock& clock;
        Defaults& defaults;
        std::function<void()> quit;
    };

    explicit AppDelegate(Services services);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

private:
    Services services_;
    std::unique_ptr<StatusItem> statusItem_;
};

}  // namespace quillbern
