#include <algorithm>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/platform/SystemThreads.h"
#include "core/windows/WindowEngine.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11Permissions.h"
#include "linux/x11/X11WindowAccess.h"
#include "sim/SimRunningApps.h"
#include "sim/SimSessionEvents.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

std::vector<WindowInfo> windowsOf(const WindowSnapshot& snapshot, Pid pid) {
    std::vector<WindowInfo> windows;
    std::copy_if(snapshot.windows.begin(), snapshot.windows.end(), std::back_inserter(windows),
                 [pid](const WindowInfo& w) { return w.pid == pid; });
    return windows;
}

}  // namespace

TEST(X11WindowTracking, TheEnginesSnapshotFollowsRealWindows) {
    Backends x;
    XProbe probe;
    SystemThreads threads;
    X11HiddenApps hidden;
    X11WindowAccess access([&x] { return x.screens.desktopSpace(); }, hidden);
    X11Permissions permissions(*x.connection);
    SimRunningApps apps;
    SimSessionEvents session;
    TestClient client({"--title", "Tracked", "--geometry", "300x200+200+200"});
    ASSERT_TRUE(client.started());
    RunningApp app;
    app.pid = client.pid();
    app.name = "Tracked app";
    app.policy = ActivationPolicy::regular;
    apps.launch(app);

    WindowEngine engine(enginePorts(x, threads, access, permissions, apps, session));
    engine.start();
    ASSERT_TRUE(spinUntil([&] {
        const auto windows = windowsOf(engine.snapshot(), client.pid());
        return windows.size() == 1 && windows.front().id == client.window() && windows.front().title == "Tracked" &&
               windows.front().isOnScreen;
    }));
    EXPECT_EQ(windowsOf(engine.snapshot(), client.pid()).front().appName, "Tracked app");

    // Moved: the new frame.
    const RectTL before = windowsOf(engine.snapshot(), client.pid()).front().frame;
    ASSERT_EQ(run({"xdotool", "windowmove", std::to_string(client.window()), "1500", "400"}), 0);
    EXPECT_TRUE(spinUntil([&] {
        const auto windows = windowsOf(engine.snapshot(), client.pid());
        return windows.size() == 1 && windows.front().frame.x == before.x + 1300 &&
               windows.front().displayID == x.screens.screens().back().id;
    }));

    // Opened: a second window.
    xcb_client_message_event_t open{};
    open.response_type = XCB_CLIENT_MESSAGE;
    open.format = 32;
    open.window = client.window();
    open.type = probe.atom("QUILLBERN_TEST_OPEN");
    xcb_send_event(probe.c(), 0, client.window(), XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&open));
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] {
        const auto windows = windowsOf(engine.snapshot(), client.pid());
        return windows.size() == 2 &&
               std::any_of(windows.begin(), windows.end(), [](const WindowInfo& w) { return w.title == "Tracked 2"; });
    }));

    // Minimised: flagged.
    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(client.window())}), 0);
    EXPECT_TRUE(spinUntil([&] {
        for (const WindowInfo& w : windowsOf(engine.snapshot(), client.pid())) {
            if (w.id == client.window()) return w.isMinimized && !w.isOnScreen;
        }
        return false;
    }));
    engine.stop();
}
