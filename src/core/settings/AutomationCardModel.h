#pragma once

#include <cstdint>
#include <string>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/platform/Clipboard.h"

namespace quillbern {

// The automation card of the dock editor: the URL that toggles the dock, copied on request
// with a short confirmation. Main thread.
class AutomationCardModel {
public:
    static constexpr Duration kCopiedFor = 1.5;

    AutomationCardModel(Clipboard& clipboard, RunLoop& mainLoop, Uuid profileID);
    AutomationCardModel(const AutomationCardModel&) = delete;
    AutomationCardModel& operator=(const AutomationCardModel&) = delete;

    // "quillbern://profiles/<UUID in upper case>/toggle".
    static std::string toggleUrl(const Uuid& profileID);
    std::string url() const { return toggleUrl(profileID_); }

    // Puts exactly the URL on the clipboard. The confirmation ends 1.5 s after the latest
    // copy; an earlier copy's end does nothing.
    void copy();
    bool showsCopied() const { return showsCopied_; }
    // Another dock: its confirmation, if any, ends at once.
    void setProfile(const Uuid& profileID);

    Signal<> changed;

private:
    void setShowsCopied(bool shows);

    Clipboard& clipboard_;
    RunLoop& mainLoop_;
    Uuid profileID_;
    bool showsCopied_ = false;
    std::int64_t copyGeneration_ = 0;
    Lifetime lifetime_;
};

}  // namespace quillbern
