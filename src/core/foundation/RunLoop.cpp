#include "core/foundation/RunLoop.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quillbern {

Timer::Timer(std::shared_ptr<TimerControl> control) : control_(std::move(control)) {}

Timer::Timer(Timer&& other) noexcept : control_(std::exchange(other.control_, nullptr)) {}

Timer& Timer::operator=(Timer&& other) noexcept {
    if (this != &other) {
        cancel();
        control_ = std::exchange(other.control_, nullptr);
    }
    return *this;
}

Timer::~Timer() {
    cancel();
}

void Timer::cancel() {
    if (auto control = std::exchange(control_, nullptr)) control->cancel();
}

bool Timer::isPending() const {
    return control_ && control_->isPending();
}

void Timer::detach() {
    control_.reset();
}

#ifndef NDEBUG
void expectOnLoop(const RunLoop& loop, const char* function, const char* file, int line) {
    if (loop.isCurrent()) return;
    std::fprintf(stderr, "Quillbern: %s (%s:%d) called off the loop it lives on\n", function, file, line);
    std::abort();
}
#endif

}  // namespace quillbern
