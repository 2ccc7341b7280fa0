#include <gtest/gtest.h>

#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/Strut.h"

using namespace quillbern;

namespace {

constexpr Size kRoot{2560, 1080};
constexpr RectTL kLeft{0, 0, 1280, 1080};
constexpr RectTL kRight{1280, 0, 1280, 1080};

Strut partial(std::vector<std::uint32_t> values) {
    return *Strut::fromPartial(values);
}

}  // namespace

TEST(Strut, EachBandShrinksOnlyTheMonitorItsInnerEdgeIsOn) {
    // A top bar on the right monitor, a bottom bar on the left one.
    const std::vector<Strut> bars = {partial({0, 0, 30, 0, 0, 0, 0, 0, 1280, 2559, 0, 0}),
                                     partial({0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 1279})};
    EXPECT_EQ(visibleArea(kRight, kRoot, bars), (RectTL{1280, 30, 1280, 1050}));
    EXPECT_EQ(visibleArea(kLeft, kRoot, bars), (RectTL{0, 0, 1280, 1056}));

    // Side panels at the seam reserve from the root's far edges, across the other monitor.
    const std::vector<Strut> seam = {partial({1320, 0, 0, 0, 0, 1079, 0, 0, 0, 0, 0, 0}),
                                     partial({0, 1300, 0, 0, 0, 0, 0, 1079, 0, 0, 0, 0})};
    EXPECT_EQ(visibleArea(kRight, kRoot, seam), (RectTL{1320, 0, 1240, 1080}));
    EXPECT_EQ(visibleArea(kLeft, kRoot, seam), (RectTL{0, 0, 1260, 1080}));
}

TEST(Strut, RunsOutsideTheMonitorAndMalformedValuesChangeNothing) {
    // A left band whose run lies below a shorter monitor.
    const RectTL shortLeft{0, 0, 1280, 600};
    EXPECT_EQ(visibleArea(shortLeft, kRoot, {partial({50, 0, 0, 0, 700, 1079, 0, 0, 0, 0, 0, 0})}), shortLeft);
    // An end before its start.
    EXPECT_EQ(visibleArea(kLeft, kRoot, {partial({0, 0, 30, 0, 0, 0, 0, 0, 900, 100, 0, 0})}), kLeft);
    EXPECT_FALSE(Strut::fromPartial({1, 2, 3}));
    EXPECT_FALSE(Strut::fromFull({1, 2, 3, 4, 5}, kLeft));
    // The older four-value form runs along its window: icewm's taskbar on the left monitor
    // alone, a bar at the right edge of the right one.
    const Strut taskbar = *Strut::fromFull({0, 0, 0, 26}, {0, 1054, 1280, 26});
    EXPECT_EQ(visibleArea(kLeft, kRoot, {taskbar}), (RectTL{0, 0, 1280, 1054}));
    EXPECT_EQ(visibleArea(kRight, kRoot, {taskbar}), kRight);
    const Strut sideBar = *Strut::fromFull({0, 40, 0, 0}, {2520, 0, 40, 1080});
    EXPECT_EQ(visibleArea(kRight, kRoot, {sideBar}), (RectTL{1280, 0, 1240, 1080}));
    EXPECT_EQ(visibleArea(kLeft, kRoot, {sideBar}), kLeft);
}

TEST(Strut, TheWorkAreaCutsAMonitorOnlyWhereNoOtherMonitorReachesPastTheCut) {
    // One monitor: a window manager's own taskbar, known only through the work area.
    const RectTL single{0, 0, 1920, 1080};
    EXPECT_EQ(workAreaOn(single, {single}, {0, 0, 1920, 1056}), (RectTL{0, 0, 1920, 1056}));
    EXPECT_EQ(workAreaOn(single, {single}, {0, 30, 1900, 1050}), (RectTL{0, 30, 1900, 1050}));

    // Two monitors side by side: a bottom bar on either cuts the one rectangle across
    // both, so the bottom cut tells nothing; the outer sides belong to one monitor each.
    const std::vector<RectTL> pair = {kLeft, kRight};
    EXPECT_EQ(workAreaOn(kLeft, pair, {0, 0, 2560, 1050}), kLeft);
    EXPECT_EQ(workAreaOn(kRight, pair, {0, 0, 2560, 1050}), kRight);
    EXPECT_EQ(workAreaOn(kLeft, pair, {40, 0, 2500, 1080}), (RectTL{40, 0, 1240, 1080}));
    EXPECT_EQ(workAreaOn(kRight, pair, {40, 0, 2500, 1080}), (RectTL{1280, 0, 1260, 1080}));
    // A cut past the seam cannot be one monitor's.
    EXPECT_EQ(workAreaOn(kRight, pair, {1320, 0, 1240, 1080}), kRight);
    EXPECT_EQ(workAreaOn(kLeft, pair, {1320, 0, 1240, 1080}), kLeft);

    // A shorter monitor beside a taller one: a bottom cut below the short one's bottom is
    // the tall one's alone.
    const RectTL tall{0, 0, 1920, 1080}, shorter{1920, 0, 1280, 1024};
    EXPECT_EQ(workAreaOn(tall, {tall, shorter}, {0, 0, 3200, 1050}), (RectTL{0, 0, 1920, 1050}));
    EXPECT_EQ(workAreaOn(shorter, {tall, shorter}, {0, 0, 3200, 1050}), shorter);
    // Above the short one's bottom it would cut both.
    EXPECT_EQ(workAreaOn(tall, {tall, shorter}, {0, 0, 3200, 1000}), tall);

    // An empty or absurd work area changes nothing.
    EXPECT_EQ(workAreaOn(single, {single}, RectTL{0, 0, 0, 0}), single);
    EXPECT_EQ(workAreaOn(single, {single}, RectTL{2000, 0, 100, 1080}), single);
}

TEST(KeyCodeTable, PhysicalKeysBothWays) {
    // A, Return, Command (Super), Option (Alt), Control, Escape, left arrow, keypad 8.
    const std::vector<std::pair<KeyCode, std::uint8_t>> cases = {{0, 38},  {36, 36}, {55, 133},  {58, 64},
                                                                 {59, 37}, {53, 9},  {123, 113}, {91, 80}};
    for (const auto& [ours, x] : cases) {
        EXPECT_EQ(xKeycodeForKey(ours), x) << ours;
        EXPECT_EQ(keyForXKeycode(x), ours) << int(x);
    }
    EXPECT_FALSE(xKeycodeForKey(52));  // no key has this code
    EXPECT_FALSE(keyForXKeycode(255));
}
