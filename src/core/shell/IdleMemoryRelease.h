#pragma once

#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/platform/AppProcess.h"

namespace quillbern {

// Gives the memory a burst of desktop changes freed back to the system once the desktop
// has been quiet for a spell: windows and applications that come and go leave the
// allocator keeping pages that nothing uses any more. One release per burst however long
// it lasts; nothing waits at rest. Main thread.
class IdleMemoryRelease {
public:
    static constexpr Duration kQuietSpell = 10;

    IdleMemoryRelease(RunLoop& loop, const Clock& clock, AppProcess& process);

    // Each emission of `changes` is a change of the desktop.
    void watch(Signal<>& changes);
    // A release waits for the desktop to settle.
    bool isWaiting() const { return timer_.isPending(); }

private:
    void changed();
    void settleOrWait();

    RunLoop& loop_;
    const Clock& clock_;
    AppProcess& process_;
    MediaTime lastChange_;
    // Armed once per burst and moved on when it fires early, not at every change.
    Timer timer_;
    std::vector<Subscription> watches_;
};

}  // namespace quillbern
