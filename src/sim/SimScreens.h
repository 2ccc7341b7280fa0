#pragma once

#include <mutex>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/Screens.h"

namespace quillbern {

// Displays a test sets, primary first. The test fires the change notification itself,
// as a real display change would, so it can also test a list that changed without notice.
class SimScreens final : public Screens {
public:
    std::vector<ScreenInfo> screens() const override;
    Subscription onChanged(Task task) override;

    void setScreens(std::vector<ScreenInfo> screens);
    void fireChanged() { changed_.emit(); }

private:
    mutable std::mutex mutex_;
    std::vector<ScreenInfo> screens_;
    Signal<> changed_;
};

}  // namespace quillbern
