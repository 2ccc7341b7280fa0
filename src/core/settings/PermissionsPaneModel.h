#pragma once

#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/windows/AXPermission.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// What the Permissions pane's window access row shows.
enum class WindowAccessRow { granted, allowButton };

// What the Permissions pane shows of the window engine's trust, and how its button asks for
// window access. Main thread.
class PermissionsPaneModel {
public:
    PermissionsPaneModel(WindowEngine& engine, AXPermission& windowAccess);
    PermissionsPaneModel(const PermissionsPaneModel&) = delete;
    PermissionsPaneModel& operator=(const PermissionsPaneModel&) = delete;

    // The trust changed.
    Signal<> changed;

    WindowAccessRow windowAccessRow() const;
    // Prompts, resetting a stale grant first; the engine's trust poll notices a grant.
    void askForWindowAccess();

private:
    const WindowEngine& engine_;
    AXPermission& windowAccess_;
    Subscription trustChanged_;
};

}  // namespace quillbern
