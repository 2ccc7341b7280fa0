#pragma once

#include <array>
#include <functional>
#include <memory>

#include "core/foundation/RunLoop.h"
#include "core/platform/WindowAccess.h"

namespace quillbern {

// The change notifications of one application, all on its application element. Calls
// onChange for every one of them, whatever it says. Worker thread only.
class AppWatcher {
public:
    // In the order of adding and of removing.
    static constexpr std::array<ElementEvent, 8> kEvents{
        ElementEvent::windowCreated,   ElementEvent::focusedWindowChanged, ElementEvent::mainWindowChanged,
        ElementEvent::windowMinimized, ElementEvent::windowRestored,       ElementEvent::windowMoved,
        ElementEvent::windowResized,   ElementEvent::titleChanged,
    };

    AppWatcher(WindowAccess& access, Pid pid, WorkerLoop& loop, std::function<void()> onChange);
    ~AppWatcher();
    AppWatcher(const AppWatcher&) = delete;
    AppWatcher& operator=(const AppWatcher&) = delete;

    // False when the application refused an observer.
    bool install();
    void uninstall();

private:
    WindowAccess& access_;
    Pid pid_;
    ElementRef appElement_;
    WorkerLoop& loop_;
    std::unique_ptr<AppObserver> observer_;
    std::function<void()> onChange_;
};

}  // namespace quillbern
