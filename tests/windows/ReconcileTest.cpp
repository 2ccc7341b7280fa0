#include <gtest/gtest.h>

#include "sim/SimLog.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

using testing::kPrimary;
using testing::kSecondary;

class Reconcile : public ::testing::Test {
protected:
    testing::WindowWorld w;
    SimWindowSystem& sys = w.windows;
    WindowReconciler reconciler = w.reconciler();

    std::vector<WindowId> ids(const WindowSnapshot& snapshot) {
        std::vector<WindowId> result;
        for (const auto& window : snapshot.windows)
            result.push_back(window.id);
        return result;
    }
};

TEST_F(Reconcile, BuildsEveryFieldFromTheApplicationAndTheOnScreenList) {
    const ElementRef app = sys.addApp(10);
    const ElementRef visible = sys.addWindow(10, {.id = 21, .title = "Report", .frame = {2000, 100, 800, 600}});
    const ElementRef docked = sys.addWindow(
        10, {.id = 22, .title = "Notes", .frame = {40, 60, 300, 200}, .onScreen = false, .minimized = true});
    sys.set(app, Attribute::frontmost, true);
    sys.set(app, Attribute::focusedWindow, visible);
    sys.set(app, Attribute::mainWindow, visible);
    // The on-screen list knows better than the window's own position while it moves.
    sys.set(visible, Attribute::position, PointTL{0, 0});

    const WindowSnapshot snapshot = reconciler.reconcile({{10, "Writer"}});
    ASSERT_EQ(snapshot.windows.size(), 2u);
    const WindowInfo& first = snapshot.windows[0];
    EXPECT_EQ(
        first,
        (WindowInfo{21, 10, "Writer", "Report", false, false, true, true, true, kSecondary, {2000, 100, 800, 600}}));
    const WindowInfo& second = snapshot.windows[1];
    EXPECT_EQ(second,
              (WindowInfo{22, 10, "Writer", "Notes", true, false, false, false, false, kPrimary, {40, 60, 300, 200}}));
    (void)docked;
}

TEST_F(Reconcile, OnlyTheFrontmostApplicationHasAFocusedWindow) {
    const ElementRef app = sys.addApp(10);
    const ElementRef window = sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    sys.set(app, Attribute::focusedWindow, window);
    sys.set(app, Attribute::mainWindow, window);
    WindowInfo info = reconciler.reconcile({{10, "A"}}).windows.at(0);
    EXPECT_FALSE(info.isFocused);
    EXPECT_TRUE(info.isAppMain);

    // Frontmost, but the focused window's number cannot be read.
    sys.set(app, Attribute::frontmost, true);
    sys.failReads(app, Attribute::focusedWindow, 1);
    EXPECT_FALSE(reconciler.reconcile({{10, "A"}}).windows.at(0).isFocused);
    EXPECT_TRUE(reconciler.reconcile({{10, "A"}}).windows.at(0).isFocused);
}

TEST_F(Reconcile, SkipsElementsThatAreNoWindowsOrHaveNoNumber) {
    SimLog log;
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    sys.addWindow(10, {.id = 22, .frame = {0, 0, 10, 10}, .role = WindowRole::other});
    const ElementRef noNumber = sys.addWindow(10, {.id = 23, .frame = {0, 0, 10, 10}});
    sys.setWindowIdAnswer(noNumber, Read<WindowId>::of(0));
    const ElementRef unreadableRole = sys.addWindow(10, {.id = 24, .frame = {0, 0, 10, 10}});
    sys.failReads(unreadableRole, Attribute::role, -1);
    EXPECT_EQ(ids(reconciler.reconcile({{10, "A"}})), (std::vector<WindowId>{21}));
    EXPECT_FALSE(log.contains("window identity is unavailable"));

    // Without window numbers at all, nothing enters and the warning appears once.
    sys.setWindowIdAnswer(noNumber, Read<WindowId>::failure(ReadFailure::notImplemented));
    reconciler.reconcile({{10, "A"}});
    reconciler.reconcile({{10, "A"}});
    EXPECT_EQ(log.count("window identity is unavailable"), 1);
}

TEST_F(Reconcile, UnreadableAttributesFallBack) {
    const ElementRef window =
        sys.addWindow(10, {.id = 21, .title = "T", .frame = {2000, 100, 50, 50}, .onScreen = false, .minimized = true});
    sys.failReads(window, Attribute::title, -1);
    sys.failReads(window, Attribute::minimized, -1);
    sys.failReads(window, Attribute::size, -1);
    const WindowInfo info = reconciler.reconcile({{10, "A"}}).windows.at(0);
    EXPECT_EQ(info.title, "");
    EXPECT_FALSE(info.isMinimized);
    EXPECT_FALSE(info.isOnScreen);
    EXPECT_TRUE(info.frame.isNull());
    EXPECT_EQ(info.displayID, kPrimary);

    // An application whose window list is no list has no windows, and that is no failure.
    const ElementRef app = sys.appElement(10);
    sys.set(app, Attribute::windows, std::string("nonsense"));
    EXPECT_TRUE(reconciler.reconcile({{10, "A"}}).windows.empty());
}

TEST_F(Reconcile, OrdersByNameCaseSensitivelyThenByNumberAcrossApplications) {
    sys.addWindow(10, {.id = 30, .frame = {0, 0, 1, 1}});
    sys.addWindow(10, {.id = 12, .frame = {0, 0, 1, 1}});
    sys.addWindow(11, {.id = 20, .frame = {0, 0, 1, 1}});  // same name, another process
    sys.addWindow(12, {.id = 99, .frame = {0, 0, 1, 1}});
    sys.addWindow(13, {.id = 1, .frame = {0, 0, 1, 1}});
    const WindowSnapshot snapshot = reconciler.reconcile({{10, "Term"}, {11, "Term"}, {12, "Browser"}, {13, "atlas"}});
    EXPECT_EQ(ids(snapshot), (std::vector<WindowId>{99, 12, 20, 30, 1}));
    EXPECT_EQ(snapshot.windows[1].pid, 10);
    EXPECT_EQ(snapshot.windows[2].pid, 11);
}

TEST_F(Reconcile, AFailingApplicationKeepsItsLastWindowsForFourPasses) {
    const ElementRef app = sys.addApp(10);
    const ElementRef window = sys.addWindow(10, {.id = 21, .title = "Old", .frame = {0, 0, 10, 10}});
    sys.addWindow(11, {.id = 40, .frame = {0, 0, 10, 10}});
    const TrackedApps apps{{10, "A"}, {11, "B"}};
    const WindowInfo old = reconciler.reconcile(apps).windows.at(0);

    // Two failures, then a success: old windows twice, then fresh ones.
    sys.set(window, Attribute::title, std::string("New"));
    sys.failReads(app, Attribute::windows, 2);
    EXPECT_EQ(reconciler.reconcile(apps).windows.at(0), old);
    EXPECT_EQ(reconciler.reconcile(apps).windows.at(0), old);
    EXPECT_EQ(reconciler.reconcile(apps).windows.at(0).title, "New");

    // The count started again: four failures keep them, the fifth drops them.
    sys.failReads(app, Attribute::windows, -1);
    for (int pass = 1; pass <= 4; ++pass)
        EXPECT_EQ(ids(reconciler.reconcile(apps)), (std::vector<WindowId>{21, 40})) << pass;
    EXPECT_EQ(ids(reconciler.reconcile(apps)), (std::vector<WindowId>{40}));
    EXPECT_EQ(ids(reconciler.reconcile(apps)), (std::vector<WindowId>{40}));

    sys.failReads(app, Attribute::windows, 0);
    EXPECT_EQ(ids(reconciler.reconcile(apps)), (std::vector<WindowId>{21, 40}));
}

TEST_F(Reconcile, AnUnresponsiveApplicationCountsAsFailingAndEveryCallIsBounded) {
    const ElementRef app = sys.addApp(10);
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    reconciler.reconcile({{10, "A"}});
    EXPECT_EQ(sys.timeout(app), 0.25);
    sys.setUnresponsive(10, true);
    for (int pass = 1; pass <= 4; ++pass)
        EXPECT_EQ(reconciler.reconcile({{10, "A"}}).windows.size(), 1u);
    EXPECT_TRUE(reconciler.reconcile({{10, "A"}}).windows.empty());
}

TEST_F(Reconcile, ApplicationsNoLongerTrackedLeaveAndOnScreenNumbersAreKept) {
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    sys.addWindow(11, {.id = 40, .frame = {0, 0, 10, 10}, .onScreen = false});
    sys.addListedWindow({77, 3, RectTL{0, 0, 5, 5}});
    EXPECT_EQ(ids(reconciler.reconcile({{10, "A"}, {11, "B"}})), (std::vector<WindowId>{21, 40}));
    EXPECT_EQ(reconciler.lastOnScreenIDs(), (WindowIdSet{21}));

    // A failing application that is no longer tracked has nothing to carry over.
    sys.failReads(sys.appElement(11), Attribute::windows, -1);
    EXPECT_EQ(ids(reconciler.reconcile({{10, "A"}})), (std::vector<WindowId>{21}));
    EXPECT_TRUE(reconciler.reconcile({{10, "A"}, {11, "B"}}).windows.size() == 1u);
}

}  // namespace
}  // namespace quillbern
