#include "linux/process/UnplannedExit.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace quillbern {

namespace {

// The steps of the UnplannedExits that live, in the order they were made. Never destroyed,
// since it is read while the process ends.
std::vector<std::function<void(int)>*>& livingSteps() {
    static auto* const steps = new std::vector<std::function<void(int)>*>;
    return *steps;
}

void endAtOnce(int status, void*) {
    const std::vector<std::function<void(int)>*> steps = std::exchange(livingSteps(), {});
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        (**step)(status);
    std::_Exit(status);
}

// exit() destroys the calling thread's own thread_local objects before it calls anything
// registered with atexit and before it destroys any static object, whenever those were
// registered (Qt makes many of its globals, and loads its plugins, only once a picture is
// read). So this one steps in first; the end it registers then is the last registered,
// which exit() calls next, with the status.
struct ExitWatch {
    ~ExitWatch() {
        if (livingSteps().empty()) return;
        if (::on_exit(endAtOnce, nullptr) != 0) endAtOnce(EXIT_FAILURE, nullptr);
    }
};

void watchThisThread() {
    thread_local const ExitWatch watch;
}

}  // namespace

UnplannedExit::UnplannedExit(std::function<void(int)> beforeEnd) : beforeEnd_(std::move(beforeEnd)) {
    watchThisThread();
    livingSteps().push_back(&beforeEnd_);
}

UnplannedExit::~UnplannedExit() {
    std::erase(livingSteps(), &beforeEnd_);
}

}  // namespace quillbern
