// A palette's panel on a real desktop: it takes the keyboard from another application, also
// from one in full screen, stands above that and above our docks, and hears its keys.
#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

constexpr RectBL kPaletteFrame{1720, 390, 400, 300};
constexpr RectTL kPaletteInRoot{1720, 390, 400, 300};  // 1080 - (390 + 300) = 390

bool contains(const std::vector<std::uint32_t>& items, std::uint32_t item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

TEST(PalettePanel, TakesTheKeyboardFromAFullScreenApplicationAndStandsAboveItAndTheDocks) {
    Backends x;
    XProbe probe;
    auto dock = x.panels.createPanel(PanelStyle{}, RectBL{1720, 14, 400, 90}, PlainFill{{0.2, 0.4, 0.8, 1}});
    dock->orderFront();
    TestClient client({"--class", "fullscreen", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(client.window())}), 0);
    probe.askFullScreen(client.window(), true);
    ASSERT_TRUE(spinUntil([&] { return probe.geometry(client.window()) == RectTL{1280, 0, 1280, 1080}; }));

    PanelStyle style;
    style.level = PanelLevel::palette;
    style.takesKeyFocus = true;
    auto palette = x.panels.createPanel(style, kPaletteFrame, PlainFill{{0.9, 0.9, 0.9, 1}});
    std::vector<std::string> journal;
    std::vector<KeyEvent> keys;
    PanelKeyHandlers handlers;
    handlers.onKey = [&](const KeyEvent& key) {
        keys.push_back(key);
        return true;
    };
    handlers.onResignKey = [&] { journal.push_back("resign"); };
    palette->setKeyHandlers(std::move(handlers));
    palette->makeKeyAndOrderFront();

    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        window = panelWindow(x.panels, palette->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window) &&
               probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW") == std::vector<std::uint32_t>{window} &&
               palette->isKey();
    })) << "active: "
        << probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW").front();
    EXPECT_EQ(probe.geometry(window), kPaletteInRoot);
    const xcb_window_t dockWindow = panelWindow(x.panels, dock->serial());
    EXPECT_TRUE(spinUntil([&] {
        return probe.stackIndex(window) > probe.stackIndex(client.window()) &&
               probe.stackIndex(window) > probe.stackIndex(dockWindow);
    }));
    // Managed and focusable, on every desktop, out of the taskbar, above ordinary windows.
    EXPECT_FALSE(contains(probe.cardinals(window, "_NET_WM_WINDOW_TYPE"), probe.atom("_NET_WM_WINDOW_TYPE_DOCK")));
    EXPECT_EQ(probe.cardinals(window, "_NET_WM_DESKTOP"), std::vector<std::uint32_t>{0xFFFFFFFFu});
    const std::vector<std::uint32_t> states = probe.cardinals(window, "_NET_WM_STATE");
    EXPECT_TRUE(contains(states, probe.atom("_NET_WM_STATE_SKIP_TASKBAR")));
    EXPECT_TRUE(contains(states, probe.atom("_NET_WM_STATE_ABOVE")));

    ASSERT_EQ(run({"xdotool", "key", "x"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !keys.empty(); }));
    EXPECT_EQ(keys.front(), (KeyEvent{7, 0}));

    // A click on the full-screen application takes the keyboard back.
    ASSERT_EQ(run({"xdotool", "mousemove", "1400", "100", "click", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return journal == std::vector<std::string>{"resign"}; }));
    EXPECT_FALSE(palette->isKey());
}
