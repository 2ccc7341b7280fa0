#pragma once

#include <vector>

#include "core/windows/AXWorker.h"
#include "sim/SimWorld.h"

namespace quillbern::testing {

// Two displays side by side: the primary (1) 1920 x 1080 and, to its right, 1280 x 1024
// with its bottom edge level with the primary's.
inline constexpr DisplayId kPrimary = 1;
inline constexpr DisplayId kSecondary = 2;

// The simulated machine of the window tests, with a worker whose snapshots and activation
// requests cross to the main loop the way the engine takes them.
struct WindowWorld {
    WindowWorld() {
        world.screens.setScreens({screen(kPrimary, {0, 0, 1920, 1080}), screen(kSecondary, {1920, 0, 1280, 1024})});
    }
    ~WindowWorld() {
        // Lets the worker's last tasks run, so it ends without waiting.
        worker.shutdown();
        world.runUntilIdle();
    }

    static ScreenInfo screen(DisplayId id, RectBL frame) {
        ScreenInfo info;
        info.id = id;
        info.frame = frame;
        return info;
    }
    AXWorker::Ports ports() { return world.workerPorts(); }
    WindowReconciler reconciler() { return WindowReconciler(windows, windows, world.screens); }

    SimWorld world;
    SimWindowSystem& windows = world.windows;
    SimPermissions& permissions = world.permissions;
    SimThreads& threads = world.threads;
    Lifetime lifetime;
    std::vector<WindowSnapshot> published;
    // Applications the worker asked to bring forward by other means.
    std::vector<Pid> activated;
    AXWorker worker{ports(),
                    onLoop(world.mainLoop, lifetime.token(),
                           [this](const WindowSnapshot& snapshot) { published.push_back(snapshot); }),
                    onLoop(world.mainLoop, lifetime.token(), [this](Pid pid) { activated.push_back(pid); })};
};

}  // namespace quillbern::testing
