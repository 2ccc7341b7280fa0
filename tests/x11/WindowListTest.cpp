#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "Backends.h"
#include "X11TestSupport.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11OnScreenWindows.h"
#include "linux/x11/X11WindowAccess.h"
#include "linux/x11/XcbConnection.h"
#include "sim/SimLog.h"

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

// The read calls of this thread so far, as the kernel counts them: those of a file of /proc,
// however it is read, count; those of an X connection do not (xcb receives with recvmsg).
std::uint64_t readCallsOfThisThread() {
    std::ifstream io("/proc/thread-self/io");
    for (std::string line; std::getline(io, line);) {
        if (line.starts_with("syscr:")) return std::stoull(line.substr(6));
    }
    return 0;
}

// The read calls `work` makes on this thread, those of counting them left out.
template <class Work>
std::uint64_t fileReadsOf(Work work) {
    const std::uint64_t first = readCallsOfThisThread();
    const std::uint64_t counting = readCallsOfThisThread() - first;
    const std::uint64_t before = readCallsOfThisThread();
    work();
    return readCallsOfThisThread() - before - counting;
}

// What one reading of the table costs on its connection.
struct ReadCost {
    std::uint64_t fileReads = 0;
    std::uint64_t roundTrips = 0;
    std::uint64_t requests = 0;
};

template <class Read>
ReadCost costOf(XcbConnection& connection, Read read) {
    const auto sequence = [&connection] {
        const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(connection.xcb());
        xcb_discard_reply(connection.xcb(), cookie.sequence);
        return cookie.sequence;
    };
    ReadCost cost;
    const std::uint64_t roundTrips = connection.roundTrips();
    const unsigned first = sequence();
    cost.fileReads = fileReadsOf(read);
    cost.requests = sequence() - first - 1;
    cost.roundTrips = connection.roundTrips() - roundTrips;
    return cost;
}

}  // namespace

TEST(X11ClientTable, ATableOfAHundredWindowsOfOneProcessReadsNoProcessFileAndWaitsTwice) {
    // Every worker's reader on its own connection, focus mode's follow tick on the main
    // thread's and an enumeration of the application's windows through window access: a
    // window's process is the server's word, never read from /proc. Each window costs its
    // own requests, all in one batch.
    Backends x;
    const auto connection = XcbConnection::open();
    ASSERT_TRUE(connection);
    X11ClientReader reader(*connection);
    X11OnScreenWindows followed(*x.connection, [&x] { return x.screens.desktopSpace(); });
    TestClient client({"--title", "Many", "--windows", "100"});
    ASSERT_TRUE(client.started());
    std::optional<ClientTable> table;
    const auto readTable = [&] {
        table = reader.read(DesktopSpace{}, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    };
    ASSERT_TRUE(spinUntil([&] {
        readTable();
        return table &&
               std::ranges::count(table->frontToBack, std::optional<Pid>(client.pid()), &ClientFacts::pid) == 100;
    }));

    // Twelve for each window's facts, one for each client's process; seven for where a window
    // stands and whether it shows, all the follow tick needs.
    constexpr std::uint64_t kRequestsPerWindow = 12;
    constexpr std::uint64_t kPlaceRequestsPerWindow = 7;
    const ReadCost cost = costOf(*connection, readTable);
    ASSERT_TRUE(table);
    std::set<std::optional<Pid>> owners;
    for (const ClientFacts& facts : table->frontToBack)
        owners.insert(facts.pid);
    EXPECT_EQ(cost.fileReads, 0u);
    EXPECT_EQ(cost.roundTrips, 2u);
    EXPECT_LE(cost.requests, kRequestsPerWindow * table->frontToBack.size() + owners.size() + 4);

    std::optional<std::vector<ListedWindow>> listed;
    const ReadCost tick = costOf(x.connection->connection(), [&] { listed = followed.onScreenWindows(); });
    ASSERT_TRUE(listed);
    EXPECT_EQ(tick.fileReads, 0u);
    EXPECT_EQ(tick.roundTrips, 2u);
    EXPECT_LE(tick.requests, kPlaceRequestsPerWindow * table->frontToBack.size() + 4);

    X11HiddenApps hidden;
    X11WindowAccess access([] { return DesktopSpace{}; }, hidden);
    const ElementRef app = access.appElement(client.pid());
    std::size_t enumerated = 0;
    EXPECT_EQ(fileReadsOf([&] {
                  access.readBool(app, Attribute::frontmost);
                  access.readElement(app, Attribute::mainWindow);
                  const auto windows = access.readElements(app, Attribute::windows).optional();
                  for (const ElementRef window : windows.value_or(std::vector<ElementRef>{})) {
                      access.readRole(window);
                      access.readString(window, Attribute::title);
                      access.readSize(window);
                      ++enumerated;
                  }
              }),
              0u);
    EXPECT_EQ(enumerated, 100u);
}
TEST(X11ClientTable, AListedWindowThatIsGoneIsLeftOutWithoutALogLine) {
    // A window manager may list a window a while after it went (fluxbox lists ours so while
    // Quillbern stops): the server refuses to follow it, as expected.
    SimLog log;
    XProbe probe;
    xcb_connection_t* c = probe.c();
    const xcb_atom_t stacking = probe.atom("_NET_CLIENT_LIST_STACKING");
    const std::vector<std::uint32_t> listed = probe.cardinals(probe.root(), "_NET_CLIENT_LIST_STACKING");
    const xcb_window_t gone = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, gone, probe.root(), 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_destroy_window(c, gone);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, probe.root(), stacking, XCB_ATOM_WINDOW, 32, 1, &gone);
    ASSERT_EQ(probe.cardinals(probe.root(), "_NET_CLIENT_LIST_STACKING").size(), listed.size() + 1);

    const auto connection = XcbConnection::open();
    ASSERT_TRUE(connection);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const auto table =
        X11ClientReader(*connection).read(DesktopSpace{}, deadline, std::nullopt, XCB_EVENT_MASK_PROPERTY_CHANGE);
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->find(gone));
    ASSERT_TRUE(connection->sync(deadline));
    connection->takeEvents();
    EXPECT_FALSE(log.contains("refused")) << log.lines().front();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe.root(), stacking, XCB_ATOM_WINDOW, 32,
                        std::uint32_t(listed.size()), listed.data());
    xcb_flush(c);
}

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
