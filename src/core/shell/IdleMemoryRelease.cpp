#include "core/shell/IdleMemoryRelease.h"

namespace quillbern {

IdleMemoryRelease::IdleMemoryRelease(RunLoop& loop, const Clock& clock, AppProcess& process)
    : loop_(loop), clock_(clock), process_(process) {}

void IdleMemoryRelease::watch(Signal<>& changes) {
    watches_.push_back(changes.connect([this] { changed(); }));
}

void IdleMemoryRelease::changed() {
    expectOnLoop(loop_);
    lastChange_ = clock_.mediaNow();
    if (!timer_.isPending()) timer_ = loop_.after(kQuietSpell, [this] { settleOrWait(); });
}

void IdleMemoryRelease::settleOrWait() {
    const Duration quiet = clock_.mediaNow() - lastChange_;
    if (quiet < kQuietSpell) {
        timer_ = loop_.after(kQuietSpell - quiet, [this] { settleOrWait(); });
        return;
    }
    process_.releaseFreeMemory();
}

}  // namespace quillbern
