#include <algorithm>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11OnScreenWindows.h"
#include "linux/x11/X11WindowAccess.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

std::optional<ListedWindow> find(const std::vector<ListedWindow>& list, xcb_window_t window) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& w) { return w.id == window; });
    return it == list.end() ? std::nullopt : std::optional<ListedWindow>(*it);
}

std::ptrdiff_t position(const std::vector<ListedWindow>& list, xcb_window_t window) {
    return std::find_if(list.begin(), list.end(), [&](const auto& w) { return w.id == window; }) - list.begin();
}

}  // namespace

TEST(X11OnScreenList, ListsClientsFrontToBackWithTheirOuterFramesInGlobalSpace) {
    Backends x;
    XProbe probe;
    X11HiddenApps hidden;
    X11WindowAccess windowList([&x] { return x.screens.desktopSpace(); }, hidden);
    TestClient left({"--class", "left", "--geometry", "300x200+100+150"});
    TestClient right({"--class", "right", "--geometry", "320x240+1500+300"});
    ASSERT_TRUE(left.started() && right.started());

    std::vector<ListedWindow> list;
    ASSERT_TRUE(spinUntil([&] {
        list = windowList.onScreenWindows().value_or(std::vector<ListedWindow>{});
        return find(list, left.window()) && find(list, right.window()) &&
               probe.cardinals(right.window(), "_NET_FRAME_EXTENTS").size() == 4;
    }));

    // The outer frame: the client's rectangle grown by the decorations the manager reports,
    // both read afresh, since the manager may still be placing the window.
    RectTL expected;
    ASSERT_TRUE(spinUntil([&] {
        const auto extents = probe.cardinals(right.window(), "_NET_FRAME_EXTENTS");
        const RectTL client = probe.geometry(right.window());
        expected = {client.x - extents[0], client.y - extents[2], client.width + extents[0] + extents[1],
                    client.height + extents[2] + extents[3]};
        list = *windowList.onScreenWindows();
        const auto listed = find(list, right.window());
        return listed && listed->bounds == expected;
    })) << "listed at "
        << find(list, right.window())->bounds->x << "," << find(list, right.window())->bounds->y << ", expected "
        << expected.x << "," << expected.y;
    EXPECT_EQ(find(list, right.window())->layer, 0);

    // Raising one brings it to the front of the list.
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(left.window())}), 0);
    ASSERT_TRUE(spinUntil([&] {
        list = *windowList.onScreenWindows();
        return position(list, left.window()) < position(list, right.window());
    }));
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(right.window())}), 0);
    ASSERT_TRUE(spinUntil([&] {
        list = *windowList.onScreenWindows();
        return position(list, right.window()) < position(list, left.window());
    }));

    // A minimised window is not on screen.
    ASSERT_EQ(run({"xdotool", "windowminimize", "--sync", std::to_string(right.window())}), 0);
    ASSERT_TRUE(spinUntil([&] {
        list = *windowList.onScreenWindows();
        return !find(list, right.window()) && find(list, left.window());
    }));
}

TEST(X11OnScreenList, TheMainThreadReadsTheSameListInOneBatchAndItsEventsStillArrive) {
    Backends x;
    X11HiddenApps hidden;
    X11WindowAccess worker([&x] { return x.screens.desktopSpace(); }, hidden);
    X11OnScreenWindows main(*x.connection, [&x] { return x.screens.desktopSpace(); });
    TestClient left({"--class", "left", "--geometry", "300x200+100+150"});
    TestClient right({"--class", "right", "--geometry", "320x240+1500+300"});
    ASSERT_TRUE(left.started() && right.started());
    std::vector<ListedWindow> list;
    ASSERT_TRUE(spinUntil([&] {
        list = main.onScreenWindows().value_or(std::vector<ListedWindow>{});
        const auto listed = find(list, right.window());
        return find(list, left.window()) && listed &&
               listed->bounds == find(*worker.onScreenWindows(), right.window())->bounds;
    }));

    // A move shows in the next reading.
    const RectTL before = *find(list, right.window())->bounds;
    ASSERT_EQ(run({"xdotool", "windowmove", "--sync", std::to_string(right.window()), "1600", "400"}), 0);
    ASSERT_TRUE(spinUntil([&] {
        const auto listed = find(main.onScreenWindows().value_or(std::vector<ListedWindow>{}), right.window());
        return listed && listed->bounds->x == before.x + 100 && listed->bounds->y == before.y + 100;
    }));

    // The stacking change a reading waits through still reaches the connection's listeners.
    int restacked = 0;
    const Subscription restacks = x.restacks.onRestack([&] { ++restacked; });
    ASSERT_EQ(run({"xdotool", "windowactivate", std::to_string(left.window())}), 0);
    for (int i = 0; i < 20; ++i)
        main.onScreenWindows();
    EXPECT_TRUE(spinUntil([&] { return restacked > 0; }));
}
