#include "sim/SimClock.h"

#include <algorithm>

#include "sim/ManualRunLoop.h"

namespace quillbern {

WallTime SimClock::wallNow() const {
    return {epoch_ + toSeconds(now_)};
}

MediaTime SimClock::mediaNow() const {
    return {toSeconds(now_)};
}

void SimClock::attach(ManualRunLoop* loop) {
    loops_.push_back(loop);
}

void SimClock::detach(ManualRunLoop* loop) {
    std::erase(loops_, loop);
}

void SimClock::advance(Duration seconds) {
    driver_ = std::this_thread::get_id();
    const Ticks target = now_ + toTicks(seconds);
    for (;;) {
        ManualRunLoop* owner = nullptr;
        std::shared_ptr<ScheduledTask> earliest;
        for (ManualRunLoop* loop : loops_) {
            auto entry = loop->nextDue();
            if (!entry || entry->due() > target) continue;
            if (!earliest || entry->due() < earliest->due() ||
                (entry->due() == earliest->due() && entry->sequence() < earliest->sequence())) {
                earliest = std::move(entry);
                owner = loop;
            }
        }
        if (!earliest) break;
        now_ = std::max<Ticks>(now_, earliest->due());
        ManualRunLoop* const previous = running_;
        running_ = owner;
        owner->runEntry(earliest);
        running_ = previous;
    }
    now_ = target;
}

}  // namespace quillbern
