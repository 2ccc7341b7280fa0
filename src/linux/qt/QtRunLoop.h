#pragma once

#include <QObject>
#include <deque>
#include <mutex>

#include "core/foundation/RunLoop.h"

namespace quillbern {

// The main run loop of the program: the Qt event loop of the GUI thread.
class QtRunLoop final : public RunLoop {
public:
    QtRunLoop();
    ~QtRunLoop() override;

    void post(Task task) override;
    Timer after(Duration delay, Task task) override;
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay = {}) override;
    bool isCurrent() const override;

private:
    Timer schedule(Duration firstDelay, std::optional<Duration> interval, Task task);

    std::mutex mutex_;
    std::deque<Task> posted_;
    // Parent of the loop's timers; posted tasks are queued to it.
    QObject context_;
};

}  // namespace quillbern
