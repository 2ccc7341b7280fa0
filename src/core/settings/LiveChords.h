#pragma once

#include <functional>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/HotKeyAction.h"
#include "core/model/HotKeyChord.h"
#include "core/shortcuts/ProfileHotKeys.h"

namespace quillbern {

// The chords the system registered, as a view of Settings last read them: when it appears
// (none before), at once after its own change of a chord, or once a change of the stores has
// run its course, since the registration follows the stores through the shell's listeners,
// after the view's. Main thread.
class LiveChords {
public:
    LiveChords(std::function<RegisteredChords()> read, RunLoop& mainLoop);
    LiveChords(const LiveChords&) = delete;
    LiveChords& operator=(const LiveChords&) = delete;

    // After each reading.
    Signal<> changed;

    void readNow();
    // Once the change under way has run its course; several asked for meanwhile read once.
    void readSoon();
    // Registered with that very chord.
    bool holds(const HotKeyAction& action, const HotKeyChord& chord) const;

private:
    std::function<RegisteredChords()> read_;
    RunLoop& mainLoop_;
    RegisteredChords chords_;
    bool pending_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
