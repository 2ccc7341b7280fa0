#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Threads.h"
#include "sim/SimClock.h"
#include "sim/SimSerialQueue.h"

namespace quillbern {

// Workers are manual run loops on the simulation's virtual time, serial queues run when
// the test says; a test can make starting either fail.
class SimThreads final : public Threads {
public:
    explicit SimThreads(SimClock& clock) : clock_(clock) {}

    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
    // Kept until the simulation ends.
    void leaveBehind(std::unique_ptr<WorkerLoop> worker) override { leftBehind_.push_back(std::move(worker)); }
    std::unique_ptr<SerialQueue> serialQueue(std::string label) override;
    // Kept until the test runs it.
    void runInBackground(std::string name, Task work) override;

    // Background work waiting to run, oldest first, by name.
    std::vector<std::string> backgroundJobs() const;
    // Runs the waiting job at that position (oldest 0), on the test's thread; false when
    // there is none.
    bool runBackgroundJob(std::size_t position = 0);
    // Runs every waiting job, oldest first, also those they start.
    void runBackgroundJobs();

    void setRefusesStart(bool refuses) { refusesStart_ = refuses; }
    // Names of the workers started, in order, with the time limit each start was given.
    struct Start {
        std::string name;
        Duration readyTimeout;
    };
    const std::vector<Start>& starts() const { return starts_; }
    // The live serial queue with that label; nullptr when there is none.
    SimSerialQueue* queue(std::string_view label) const;
    // Labels of the serial queues created, in order.
    const std::vector<std::string>& queueLabels() const { return queueLabels_; }

private:
    SimClock& clock_;
    bool refusesStart_ = false;
    std::vector<Start> starts_;
    std::vector<std::unique_ptr<WorkerLoop>> leftBehind_;
    std::vector<std::string> queueLabels_;
    std::vector<SimSerialQueue*> queues_;
    struct Job {
        std::string name;
        Task work;
    };
    std::vector<Job> jobs_;
};

}  // namespace quillbern
