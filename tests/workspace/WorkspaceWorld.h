#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/workspace/WorkspaceController.h"
#include "sim/SimWorld.h"

namespace quillbern::testing {

inline constexpr DisplayId kLeft = 1;
inline constexpr DisplayId kRight = 2;
// The primary 1000 x 800 and a lower 1000 x 600 to its right, each with 25 points of bar at
// its bottom.
inline constexpr RectBL kLeftFrame{0, 0, 1000, 800};
inline constexpr RectBL kRightFrame{1000, 0, 1000, 600};
inline constexpr RectBL kLeftVisible{0, 25, 1000, 775};
inline constexpr RectBL kRightVisible{1000, 25, 1000, 575};

// What the worker did to one window: "7 at (10, 35) 485x372.5", "7 raised".
using Moves = std::vector<std::string>;

// A workspace on the simulation with its window worker running: applications that tests
// start, show windows of, hide and show, and a dock that pins some of them. Every change
// of the window engine's snapshot reaches the workspace, as the shell's fan-out does.
class WorkspaceWorld {
public:
    WorkspaceWorld();
    ~WorkspaceWorld();

    // A regular application; its windows are listed after the next reconciliation.
    void run(Pid pid, const AppId& id);
    void quit(Pid pid);
    ElementRef show(Pid pid, WindowId id, RectTL frame = {100, 100, 400, 300});
    void close(WindowId id);
    void setFullScreen(WindowId id, bool fullScreen);
    void focus(Pid pid, WindowId id);
    // Lets the worker reconcile and carry out what was posted.
    void settle();

    // What the worker did to the windows since the last call.
    Moves moves();
    std::vector<std::string> memberIDs() const;
    bool isHidden(Pid pid) const { return world.apps.app(pid)->isHidden; }

    SimWorld world;
    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PinnedStore> pinned;
    std::unique_ptr<DockPreferences> preferences;
    std::unique_ptr<WorkspaceController> workspace;
    // The windows placed with focus, as the engine's hook heard them.
    std::vector<std::pair<WindowId, RectTL>> placeRequests;
    std::vector<WindowId> raiseRequests;

private:
    std::map<WindowId, ElementRef> elements_;
    std::size_t callsSeen_ = 0;
    Subscription snapshots_;
};

}  // namespace quillbern::testing
