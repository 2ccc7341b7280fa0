#pragma once

#include <string>
#include <vector>

#include "core/platform/Threads.h"
#include "sim/SimClock.h"

namespace quillbern {

// Workers are manual run loops on the simulation's virtual time; a test can make
// starting fail.
class SimThreads final : public Threads {
public:
    explicit SimThreads(SimClock& clock) : clock_(clock) {}

    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
    // Kept until the simulation ends.
    void leaveBehind(std::unique_ptr<WorkerLoop> worker) override { leftBehind_.push_back(std::move(worker)); }

    void setRefusesStart(bool refuses) { refusesStart_ = refuses; }
    // Names of the workers started, in order, with the time limit each start was given.
    struct Start {
        std::string name;
        Duration readyTimeout;
    };
    const std::vector<Start>& starts() const { return starts_; }

private:
    SimClock& clock_;
    bool refusesStart_ = false;
    std::vector<Start> starts_;
    std::vector<std::unique_ptr<WorkerLoop>> leftBehind_;
};

}  // namespace quillbern
