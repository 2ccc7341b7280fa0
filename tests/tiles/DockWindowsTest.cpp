#include <gtest/gtest.h>

#include "core/tiles/DockWindows.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::focused;
using testing::kLeft;
using testing::kRight;
using testing::minimized;
using testing::window;

std::optional<WindowId> best(const std::vector<WindowInfo>& windows, DisplayId display) {
    const std::optional<WindowInfo> chosen = bestWindow(windows, display);
    return chosen ? std::optional(chosen->id) : std::nullopt;
}

TEST(BestWindow, PrefersThisDisplayThenFocusedThenShownThenFirst) {
    EXPECT_EQ(best({}, kLeft), std::nullopt);
    // The focused window of this display wins over an earlier one that shows.
    EXPECT_EQ(best({window(1, 5, "A", kLeft), focused(window(2, 5, "A", kLeft))}, kLeft), 2u);
    // A focused window elsewhere does not count while this display has windows.
    EXPECT_EQ(best({focused(window(1, 5, "A", kRight)), minimized(window(2, 5, "A", kLeft)), window(3, 5, "A", kLeft)},
                   kLeft),
              3u);
    // Every window here is minimised: the first of them, not a window of another display.
    EXPECT_EQ(
        best({window(1, 5, "A", kRight), minimized(window(2, 5, "A", kLeft)), minimized(window(3, 5, "A", kLeft))},
             kLeft),
        2u);
}

TEST(BestWindow, WithWindowsOnlyElsewhereChoosesAmongAllOfThem) {
    EXPECT_EQ(best({window(1, 5, "A", kRight), focused(window(2, 5, "A", kRight))}, kLeft), 2u);
    EXPECT_EQ(best({minimized(window(1, 5, "A", kRight)), window(2, 5, "A", kRight)}, kLeft), 2u);
    EXPECT_EQ(best({minimized(window(1, 5, "A", kRight)), minimized(window(2, 5, "A", kRight))}, kLeft), 1u);
}

TEST(FocusedPID, LooksAtEveryDisplay) {
    EXPECT_EQ(focusedPID(std::vector<WindowInfo>{window(1, 5, "A", kLeft)}), std::nullopt);
    const std::vector<WindowInfo> windows{window(1, 5, "A", kLeft), focused(window(2, 6, "B", kRight)),
                                          focused(window(3, 7, "C", kLeft))};
    EXPECT_EQ(focusedPID(windows), 6) << "the first focused window, whatever its display";
}

TEST(DockWindows, WindowsOfOneDisplayKeepTheirOrderAndPinnedIdentitiesAreTheApplicationItems) {
    const std::vector<WindowInfo> windows{window(1, 5, "A", kLeft), window(2, 6, "B", kRight),
                                          window(3, 7, "C", kLeft)};
    std::vector<WindowId> left;
    for (const WindowInfo& w : windowsOnDisplay(windows, kLeft))
        left.push_back(w.id);
    EXPECT_EQ(left, (std::vector<WindowId>{1, 3}));

    Profile profile = testing::dock(1, DockEdge::bottom, {testing::app("mail", "Mail"), testing::app("web", "Web")});
    profile.items.push_back(PinnedItem(PinnedTrash{testing::dockId(9)}));
    EXPECT_EQ(pinnedBundleIDs(profile), (std::set<AppId>{"mail", "web"}));
}

}  // namespace
}  // namespace quillbern
