#include <gtest/gtest.h>

#include "core/windows/WindowAction.h"
#include "core/windows/WindowSnapshot.h"

namespace quillbern {
namespace {

WindowInfo window(WindowId id, std::string appName, std::string title = "Untitled") {
    WindowInfo info;
    info.id = id;
    info.pid = 100;
    info.appName = std::move(appName);
    info.title = std::move(title);
    info.displayID = 1;
    info.frame = {10, 20, 300, 200};
    return info;
}

TEST(WindowModel, AnyChangedFieldMakesAWindowAndItsSnapshotDifferent) {
    const WindowInfo before = window(7, "Editor", "draft.txt");
    WindowInfo renamed = before;
    renamed.title = "draft.txt — edited";
    EXPECT_EQ(renamed.id, before.id);
    EXPECT_NE(renamed, before);
    EXPECT_NE(WindowSnapshot{{renamed}}, WindowSnapshot{{before}});

    WindowInfo moved = before;
    moved.frame.x += 1;
    EXPECT_NE(moved, before);
    WindowInfo focused = before;
    focused.isFocused = true;
    EXPECT_NE(focused, before);
    EXPECT_EQ(WindowSnapshot{{before}}, WindowSnapshot{{window(7, "Editor", "draft.txt")}});
}

TEST(WindowModel, SnapshotsWithTheSameWindowsInAnotherOrderDiffer) {
    const WindowInfo a = window(1, "Alpha");
    const WindowInfo b = window(2, "Beta");
    EXPECT_NE((WindowSnapshot{{a, b}}), (WindowSnapshot{{b, a}}));
    EXPECT_NE((WindowSnapshot{{a}}), (WindowSnapshot{{a, b}}));
}

TEST(WindowModel, EmptySnapshotEqualsAnyWithoutWindowsAndNullFramesCompareEqual) {
    EXPECT_EQ(WindowSnapshot::empty(), WindowSnapshot{});
    EXPECT_EQ(WindowSnapshot::empty(), WindowSnapshot{std::vector<WindowInfo>{}});
    EXPECT_NE(WindowSnapshot::empty(), WindowSnapshot{{window(1, "A")}});

    WindowInfo unplaced = window(3, "A");
    unplaced.frame = RectTL::null();
    WindowInfo again = unplaced;
    EXPECT_EQ(unplaced, again);
    EXPECT_NE(unplaced, window(3, "A"));
}

TEST(WindowModel, ActionsReadAsTheirCaseWithThePayload) {
    EXPECT_EQ(WindowAction::raise().text(), "raise");
    EXPECT_EQ(WindowAction::close().text(), "close");
    EXPECT_EQ(WindowAction::setMinimized(true).text(), "setMinimized(true)");
    EXPECT_EQ(WindowAction::place({0, 25, 960.5, 540}, false).text(),
              "place(frame: (0, 25, 960.5, 540), focusNow: false)");
    EXPECT_TRUE(std::holds_alternative<WindowAction::Place>(WindowAction::place({}, true).kind()));
}

}  // namespace
}  // namespace quillbern
