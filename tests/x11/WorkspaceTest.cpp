#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/SystemThreads.h"
#include "core/windows/WindowEngine.h"
#include "core/workspace/WorkspaceController.h"
#include "core/workspace/WorkspaceGrid.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11Permissions.h"
#include "linux/x11/X11RunningApps.h"
#include "linux/x11/X11WindowAccess.h"
#include "sim/SimDefaults.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimStoreBackends.h"

using namespace quillbern;
using namespace quillbern::test;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kNormalState = 1;
constexpr std::uint32_t kIconicState = 3;
const char* const kApps[] = {"org.example.Tiled1", "org.example.Tiled2", "org.example.Tiled3"};

fs::path entryOf(const std::string& id) {
    return fs::path(std::getenv("XDG_DATA_DIRS")) / "applications" / (id + ".desktop");
}

// Three applications of their own desktop entries, each one test-client window on the
// left-hand monitor, and the workspace with the real window worker and running applications.
class X11WorkspaceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < 3; ++i) {
            fs::create_directories(entryOf(kApps[i]).parent_path());
            std::ofstream(entryOf(kApps[i])) << "[Desktop Entry]\nType=Application\nName=Tiled " << i + 1
                                             << "\nExec=/bin/false\nStartupWMClass=QuillbernTiled" << i + 1 << "\n";
        }
    }
    static void TearDownTestSuite() {
        for (const char* id : kApps)
            fs::remove(entryOf(id));
    }

    X11WorkspaceTest() {
        for (int i = 0; i < 3; ++i) {
            clients.push_back(std::make_unique<TestClient>(
                std::vector<std::string>{"--class", "QuillbernTiled" + std::to_string(i + 1), "--title",
                                         "Tiled " + std::to_string(i + 1), "--geometry", "300x200+100+100"}));
        }
        snapshots = engine.snapshotChanged.connect([this] { workspace.snapshotChanged(engine.snapshot()); });
        engine.start();
    }
    ~X11WorkspaceTest() override { engine.stop(); }

    // Every application known by its entry, and each window in the snapshot.
    bool ready() {
        for (int i = 0; i < 3; ++i) {
            if (pinned.pids(kApps[i]).size() != 1) return false;
            const auto& windows = engine.snapshot().windows;
            if (std::ranges::find(windows, clients[std::size_t(i)]->window(), &WindowInfo::id) == windows.end())
                return false;
        }
        return true;
    }

    const ScreenInfo& right() const {
        static ScreenInfo found;
        for (const ScreenInfo& screen : x.screens.screens()) {
            if (screen.frame.x > 0) found = screen;
        }
        return found;
    }

    // The outer frame, decorations included, from the client's rectangle and its frame extents.
    RectTL outerFrame(xcb_window_t window) const {
        const RectTL client = probe.geometry(window);
        const auto e = probe.cardinals(window, "_NET_FRAME_EXTENTS");  // left, right, top, bottom
        if (e.size() != 4) return client;
        return {client.x - e[0], client.y - e[2], client.width + e[0] + e[1], client.height + e[2] + e[3]};
    }

    // Each window's outer frame in its cell of the grid on the right-hand monitor, to the
    // pixel the server rounds to, the cells in member order.
    bool tiled() const {
        const std::vector<RectBL> cells = WorkspaceGrid::frames(3, right().visibleFrame);
        const double flip = flipHeight(x.screens.screens());
        for (std::size_t i = 0; i < 3; ++i) {
            const RectTL cell = toTopLeft(cells[i], flip);
            const RectTL frame = outerFrame(clients[i]->window());
            const auto near = [](double a, double b) { return std::abs(a - b) <= 1; };
            if (!near(frame.x, cell.x) || !near(frame.y, cell.y) || !near(frame.width, cell.width) ||
                !near(frame.height, cell.height))
                return false;
        }
        return true;
    }

    std::string frames() const {
        std::string text;
        for (const auto& client : clients) {
            const RectTL frame = outerFrame(client->window());
            text += std::to_string(frame.x) + "," + std::to_string(frame.y) + " " + std::to_string(frame.width) + "x" +
                    std::to_string(frame.height) + "; ";
        }
        return text;
    }

    bool allInState(std::uint32_t wanted) const {
        return std::ranges::all_of(clients, [&](const auto& client) {
            const auto state = probe.cardinals(client->window(), "WM_STATE");
            return !state.empty() && state.front() == wanted;
        });
    }

    bool isFullScreen(xcb_window_t window) const { return probe.hasState(window, "_NET_WM_STATE_FULLSCREEN"); }

    Backends x;
    XProbe probe;
    SystemThreads threads;
    X11HiddenApps hidden;
    X11WindowAccess access{[this] { return x.screens.desktopSpace(); }, hidden};
    X11Permissions permissions{*x.connection};
    LinuxAppCatalog catalog;
    X11RunningApps apps{*x.connection, x.screens, catalog, hidden, x.loop, threads};
    SimSessionEvents session;
    SimDefaults defaults;
    SimStoreBackends sim;
    PinnedStore pinned{
        sim.pinnedPorts(defaults, sim.icons, {.mainLoop = x.loop, .clock = x.clock, .apps = apps, .catalog = catalog})};
    DockPreferences preferences{defaults, x.clock, x.loop};
    WindowEngine engine{enginePorts(x, threads, access, permissions, apps, session)};
    WorkspaceController workspace{
        {.apps = apps, .screens = x.screens, .alerts = sim.alerts, .clock = x.clock, .mainLoop = x.loop},
        engine,
        pinned,
        preferences};
    std::vector<std::unique_ptr<TestClient>> clients;
    Subscription snapshots;
};

}  // namespace

TEST_F(X11WorkspaceTest, DroppedApplicationsTileTheRightHandMonitorHideAndComeBack) {
    for (const auto& client : clients)
        ASSERT_TRUE(client->started());
    ASSERT_TRUE(spinUntil([&] { return ready(); }));
    ASSERT_TRUE(right().id);
    const RectBL area = right().visibleFrame;
    for (const char* id : kApps)
        workspace.drop(id, *right().id, {area.midX(), area.midY()});
    EXPECT_EQ(workspace.displayID(), right().id);
    EXPECT_TRUE(spinUntil([&] { return tiled(); }))
        << "first at " << outerFrame(clients[0]->window()).x << "," << outerFrame(clients[0]->window()).y;

    // One window moved away by hand; hiding iconifies them all.
    ASSERT_EQ(run({"xdotool", "windowmove", std::to_string(clients[1]->window()), "200", "300"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !tiled(); }));
    ASSERT_TRUE(engine.isTrusted());
    workspace.toggle();
    EXPECT_TRUE(spinUntil([&] { return allInState(kIconicState) && workspace.isHidden(); }));

    // The next press restores them all and tiles them again.
    workspace.toggle();
    EXPECT_TRUE(spinUntil([&] { return allInState(kNormalState) && tiled(); }));
    EXPECT_FALSE(workspace.isHidden());

    // In full screen, the next press brings the window back into its cell instead of hiding.
    probe.askFullScreen(clients[2]->window(), true);
    ASSERT_TRUE(spinUntil([&] {
        const auto& windows = engine.snapshot().windows;
        const auto third = std::ranges::find(windows, clients[2]->window(), &WindowInfo::id);
        return third != windows.end() && third->isFullscreen && third->isOnScreen;
    }));
    workspace.toggle();
    EXPECT_TRUE(spinUntil([&] { return !isFullScreen(clients[2]->window()) && tiled(); }))
        << "full screen " << isFullScreen(clients[2]->window()) << ", frames " << frames();
    EXPECT_TRUE(allInState(kNormalState)) << "nothing was hidden";
}
