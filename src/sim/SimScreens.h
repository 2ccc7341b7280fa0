#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/Screens.h"

namespace quillbern {

// Displays a test sets, primary first, and which of them holds the active window. The test fires the change
// notification itself, as a real display change would, so it can also test a list that changed without notice.
class SimScreens final : public Screens {
public:
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    Subscription onChanged(Task task) override;

    void setScreens(std::vector<ScreenInfo> screens);
    // The screen of the active window, by position in the list; the primary when unset
    // or out of range.
    void setMainScreen(std::optional<std::size_t> index);
    void fireChanged() { changed_.emit(); }
    std::size_t observerCount() const { return changed_.connectionCount(); }

private:
    mutable std::mutex mutex_;
    std::vector<ScreenInfo> screens_;
    std::optional<std::size_t> main_;
    Signal<> changed_;
};

}  // namespace quillbern
