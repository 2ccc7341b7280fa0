#include <gtest/gtest.h>

#include "core/shell/WindowPlacement.h"

namespace quillbern {
namespace {

ScreenInfo screenWithVisibleFrame(RectBL visible) {
    ScreenInfo screen;
    screen.frame = {visible.x, 0, visible.width, visible.maxY() + 25};
    screen.visibleFrame = visible;
    return screen;
}

TEST(WindowPlacement, SettingsTakeAtMost940By780AndLeaveAMarginOnSmallScreens) {
    const std::vector<ScreenInfo> large{screenWithVisibleFrame({0, 0, 1440, 875})};
    EXPECT_EQ(settingsWindowFrame(large, {10, 10}), (RectBL{250, 50, 940, 775}));
    const std::vector<ScreenInfo> small{screenWithVisibleFrame({0, 0, 1024, 700})};
    EXPECT_EQ(settingsWindowFrame(small, {10, 10}), (RectBL{60, 50, 904, 600}));
    const std::vector<ScreenInfo> tiny{screenWithVisibleFrame({0, 0, 100, 90})};
    EXPECT_FALSE(settingsWindowFrame(tiny, {10, 10})) << "the window keeps its own size";
    EXPECT_FALSE(settingsWindowFrame({}, {10, 10}));
}

TEST(WindowPlacement, WindowsOpenOnTheScreenUnderThePointerElseOnThePrimary) {
    const std::vector<ScreenInfo> screens{screenWithVisibleFrame({0, 0, 1920, 1050}),
                                          screenWithVisibleFrame({1920, 0, 1280, 1000})};
    EXPECT_EQ(centredWindowFrame(screens, {2000, 500}, {460, 400}), (RectBL{2330, 300, 460, 400}));
    EXPECT_EQ(centredWindowFrame(screens, {-50, 500}, {460, 400}), (RectBL{730, 325, 460, 400}))
        << "a pointer off every screen";
    EXPECT_EQ(settingsWindowFrame(screens, {2000, 500}), (RectBL{2090, 110, 940, 780}));
    EXPECT_FALSE(centredWindowFrame({}, {0, 0}, {460, 400}));
}

TEST(WindowPlacement, SettingsShownAgainStayWhereTheyWereLeftOnlyOnTheScreenUnderThePointer) {
    const std::vector<ScreenInfo> screens{screenWithVisibleFrame({0, 0, 1920, 1050}),
                                          screenWithVisibleFrame({1920, 0, 1280, 1000})};
    const RectBL moved{100, 200, 800, 600};
    EXPECT_EQ(settingsWindowFrame(screens, {500, 500}, moved), moved);
    EXPECT_EQ(settingsWindowFrame(screens, {2000, 500}, moved), (RectBL{2090, 110, 940, 780}));
    EXPECT_EQ(settingsWindowFrame(screens, {500, 500}, RectBL{1800, 200, 800, 600}), (RectBL{490, 135, 940, 780}))
        << "most of it on the other screen";
}

}  // namespace
}  // namespace quillbern
