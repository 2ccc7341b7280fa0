#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/platform/SystemThreads.h"
#include "core/tiles/WindowMenuItems.h"
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

// The application a test's windows belong to, as the running applications list it.
RunningApp regularApp(Pid pid, std::string name) {
    RunningApp app;
    app.pid = pid;
    app.name = std::move(name);
    app.policy = ActivationPolicy::regular;
    return app;
}

// The times of the presses and releases of a button that Qt gave a window.
class ButtonTimes final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool pressed = event->type() == QEvent::MouseButtonPress;
        if ((pressed || event->type() == QEvent::MouseButtonRelease) && qobject_cast<QWindow*>(watched))
            (pressed ? presses : releases)
                .push_back(std::uint32_t(static_cast<const QMouseEvent&>(*event).timestamp()));
        return false;
    }
    std::vector<std::uint32_t> presses;
    std::vector<std::uint32_t> releases;
};

// The X server's time now, as the notice of a property change on a window of its own
// carries it; on a connection of its own, so that it takes no other reader's events.
class ServerClock {
public:
    ServerClock() : window_(xcb_generate_id(probe_.c())) {
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(probe_.c(), 0, window_, probe_.root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    }
    std::uint32_t now() const {
        xcb_change_property(probe_.c(), XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                            nullptr);
        xcb_flush(probe_.c());
        while (xcb_generic_event_t* event = xcb_wait_for_event(probe_.c())) {
            const bool notice = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
            const std::uint32_t time = reinterpret_cast<const xcb_property_notify_event_t*>(event)->time;
            free(event);
            if (notice) return time;
        }
        return 0;
    }

private:
    XProbe probe_;
    xcb_window_t window_;
};

// The time of each request to activate the window that reached the window manager so far,
// as a client that follows the root's substructure hears it.
class ActivationRequests {
public:
    explicit ActivationRequests(const XProbe& probe) : probe_(probe), type_(probe.atom("_NET_ACTIVE_WINDOW")) {
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(probe.c(), probe.root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(probe.c());
    }
    std::vector<std::uint32_t> of(xcb_window_t window) {
        free(xcb_get_input_focus_reply(probe_.c(), xcb_get_input_focus(probe_.c()), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(probe_.c())) {
            const auto& message = *reinterpret_cast<const xcb_client_message_event_t*>(event);
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && message.type == type_)
                heard_.emplace_back(message.window, message.data.data32[1]);
            free(event);
        }
        std::vector<std::uint32_t> times;
        for (const auto& [target, time] : heard_) {
            if (target == window) times.push_back(time);
        }
        return times;
    }

private:
    const XProbe& probe_;
    xcb_atom_t type_;
    std::vector<std::pair<xcb_window_t, std::uint32_t>> heard_;
};

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
    apps.launch(regularApp(client.pid(), "Tracked app"));

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

TEST(X11WindowTracking, AWindowThatMovesItselfToTheOtherMonitorIsFollowed) {
    Backends x;
    SystemThreads threads;
    X11HiddenApps hidden;
    X11WindowAccess access([&x] { return x.screens.desktopSpace(); }, hidden);
    X11Permissions permissions(*x.connection);
    SimRunningApps apps;
    SimSessionEvents session;
    // An application of its own moves with a configure request alone, as xterm's does:
    // metacity then moves its frame and tells the window nothing.
    Spawned terminal({"xterm", "-title", "Moving itself", "-geometry", "60x20+200+200", "-e", "sleep", "60"});
    apps.launch(regularApp(terminal.pid(), "Terminal"));
    WindowEngine engine(enginePorts(x, threads, access, permissions, apps, session));
    engine.start();
    const auto displayOf = [&] {
        const auto windows = windowsOf(engine.snapshot(), terminal.pid());
        return windows.size() == 1 && windows.front().isOnScreen ? std::optional(windows.front().displayID)
                                                                 : std::nullopt;
    };
    ASSERT_TRUE(spinUntil([&] { return displayOf() == x.screens.screens().front().id; }));
    const WindowId window = windowsOf(engine.snapshot(), terminal.pid()).front().id;
    for (const auto& [to, screen] :
         {std::pair{"1500", x.screens.screens().back().id}, std::pair{"200", x.screens.screens().front().id}}) {
        ASSERT_EQ(run({"xdotool", "windowmove", std::to_string(window), to, "300"}), 0);
        EXPECT_TRUE(spinUntil([&] { return displayOf() == screen; })) << "moved to " << to;
    }
    engine.stop();
}

TEST(X11WindowTracking, AClickThatActivatesAWindowAsksTheWindowManagerOnceAtTheClicksTime) {
    Backends x;
    XProbe probe;
    SystemThreads threads;
    X11HiddenApps hidden;
    X11WindowAccess access([&x] { return x.screens.desktopSpace(); }, hidden, &x.userTime);
    X11Permissions permissions(*x.connection);
    SimRunningApps apps;
    SimSessionEvents session;
    TestClient client({"--title", "Asked for", "--geometry", "300x200+200+200"});
    TestClient other({"--title", "In front", "--geometry", "300x200+250+250"});
    ASSERT_TRUE(client.started() && other.started());
    apps.launch(regularApp(client.pid(), "Asked for"));
    WindowEngine engine(enginePorts(x, threads, access, permissions, apps, session));
    engine.start();
    const auto tracked = [&] {
        const auto windows = windowsOf(engine.snapshot(), client.pid());
        return windows.size() == 1 ? std::optional(windows.front()) : std::nullopt;
    };
    ASSERT_TRUE(spinUntil([&] { return tracked().has_value(); }));
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(other.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return tracked() && !tracked()->isFocused; }));

    // A button of ours raises the window as a tile does, once clicked; like a dock it
    // takes no focus.
    ActivationRequests requests(probe);
    ButtonTimes buttons;
    qApp->installEventFilter(&buttons);
    QPushButton button(QStringLiteral("Raise"));
    button.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    button.setAttribute(Qt::WA_ShowWithoutActivating);
    QObject::connect(&button, &QPushButton::clicked, [&] { requestRaise(engine, *tracked()); });
    button.setGeometry(1600, 500, 160, 60);
    button.show();
    const auto buttonWindow = xcb_window_t(button.winId());
    ASSERT_TRUE(spinUntil([&] { return button.windowHandle()->isExposed() && probe.isViewable(buttonWindow); }));
    const RectTL placed = probe.geometry(buttonWindow);
    const QPoint centre(int(placed.midX()), int(placed.midY()));
    // Pressed, then released once the server's clock has moved on: a click sent whole gives
    // both one time, and the request must carry the release's.
    ASSERT_EQ(run({"xdotool", "mousemove", std::to_string(centre.x()), std::to_string(centre.y()), "mousedown", "1"}),
              0);
    ASSERT_TRUE(spinUntil([&] { return button.isDown(); }));
    ASSERT_EQ(buttons.presses.size(), 1u);
    const ServerClock clock;
    ASSERT_TRUE(spinUntil([&] { return clock.now() > buttons.presses.front(); }));
    ASSERT_EQ(run({"xdotool", "mouseup", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return tracked() && tracked()->isFocused; }));
    qApp->removeEventFilter(&buttons);
    ASSERT_EQ(buttons.releases.size(), 1u);
    EXPECT_GT(buttons.releases.front(), buttons.presses.front());
    EXPECT_EQ(requests.of(client.window()), std::vector<std::uint32_t>{buttons.releases.front()});
    engine.stop();
}
