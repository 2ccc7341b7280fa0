#pragma once

#include <QObject>
#include <deque>
#include <mutex>
#include <typeinfo>

#include "core/foundation/RunLoop.h"

namespace quillbern {

// The main run loop of the program: the Qt event loop of the GUI thread. Tasks are posted
// and timers cancelled from any thread; timers are made on the GUI thread only, since a
// QTimer starts on its own thread (debug builds stop at one made elsewhere).
class QtRunLoop final : public RunLoop {
public:
    QtRunLoop();
    ~QtRunLoop() override;

    void post(Task task) override;
    Timer after(Duration delay, Task task) override;
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay = {}) override;
    bool isCurrent() const override;

    // The type of the posted task or timer task the main loop began last, forgotten as it
    // is taken; null when none began since. For the stall probe, which names what ran long.
    static const std::type_info* takeLastTask();

private:
    Timer schedule(Duration firstDelay, std::optional<Duration> interval, Task task);

    std::mutex mutex_;
    std::deque<Task> posted_;
    // Parent of the loop's timers; posted tasks are queued to it.
    QObject context_;
};

}  // namespace quillbern
