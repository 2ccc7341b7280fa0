#include <gtest/gtest.h>

#include "core/dock/BeaconMetrics.h"
#include "core/dock/LaunchBeaconController.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::kRight;

PinnedApp app(const std::string& id) {
    return {id, "Name of " + id, std::nullopt};
}

class Beacon : public ::testing::Test {
protected:
    Beacon() {
        world.screens.setScreens(testing::twoScreens());
        world.input.setPointer({500, 500});
        appearance.setTileSize(48);
    }

    const SimPanelState* shown(DisplayId display = kLeft) {
        const std::optional<std::uint64_t> serial = beacon.shownPanel(display);
        return serial ? world.panels.panel(*serial) : nullptr;
    }
    std::vector<bool> launchingTiles(const SimPanelState& panel) {
        std::vector<bool> result;
        for (const BeaconTileContent& tile : panel.shown<BeaconContent>()->tiles)
            result.push_back(tile.isLaunching);
        return result;
    }
    void launch(const std::string& id) {
        launching.insert(id);
        apps.setLaunching(launching);
        beacon.coldLaunchBegan(app(id));
    }
    void arrive(const std::string& id) {
        launching.erase(id);
        apps.setLaunching(launching);
    }

    SimWorld world;
    SimLaunchingApps apps;
    std::set<std::string> launching;
    DockPreferences preferences{world.defaults, world.clock, world.mainLoop};
    AppearanceStore appearance{world.defaults, world.appearance, world.mainLoop};
    LaunchBeaconController beacon{{.panels = world.panels,
                                   .views = world.dockViews,
                                   .screens = world.screens,
                                   .input = world.input,
                                   .system = world.appearance,
                                   .mainLoop = world.mainLoop,
                                   .clock = world.clock},
                                  apps,
                                  preferences,
                                  appearance};
};

TEST_F(Beacon, TilesGrowWithTheDockTilesUpToACap) {
    EXPECT_EQ(beacon::tileSize(62), 93);
    EXPECT_EQ(beacon::ringBox(93), 109);
    EXPECT_DOUBLE_EQ(beacon::ringWidth(93), 4.65);
    EXPECT_EQ(beacon::tileSize(88), 96);
    EXPECT_EQ(beacon::ringBox(96), 112);
    EXPECT_DOUBLE_EQ(beacon::ringWidth(96), 4.8);
    EXPECT_EQ(beacon::ringWidth(40), 3);
    EXPECT_EQ(beacon::fittingSize(2, 72), (Size{2 * 88 + 14 + 32, 88 + 32}));
}

TEST_F(Beacon, ComesUpCentredOnTheDisplayUnderThePointerAndGrowsIntoPlace) {
    world.input.setPointer({2500, 300});
    launch("org.example.Editor");
    ASSERT_EQ(shown(kLeft), nullptr);
    const SimPanelState* panel = shown(kRight);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->style.ignoresMouse);
    EXPECT_EQ(panel->alpha, 0);
    // One 72-point tile in a 88-point ring box, 16 around it: 120 x 120 in the middle of
    // the right display's visible frame (1920, 0, 1280, 1024).
    const RectBL frame{2560 - 60, 512 - 60, 120, 120};
    EXPECT_EQ(panel->frame, frame.insetBy(120 * 0.04, 120 * 0.04));
    world.advance(0.24);
    EXPECT_EQ(panel->frame, frame);
    EXPECT_EQ(panel->alpha, 1);
    const auto& content = *panel->shown<BeaconContent>();
    ASSERT_EQ(content.tiles.size(), 1u);
    EXPECT_EQ(content.tiles[0].name, "Name of org.example.Editor");
    EXPECT_NE(content.tiles[0].icon, nullptr);
}

TEST_F(Beacon, NothingHappensWhenSwitchedOffOrWhenTheApplicationAlreadyArrived) {
    preferences.setLaunchBeacon(false);
    launch("org.example.Editor");
    EXPECT_TRUE(beacon.pending(kLeft).empty());
    EXPECT_EQ(world.panels.openCount(), 0u);

    preferences.setLaunchBeacon(true);
    beacon.coldLaunchBegan(app("org.example.Viewer"));  // not launching
    EXPECT_EQ(world.panels.openCount(), 0u);
}

TEST_F(Beacon, LaunchesOnOneDisplayShareOneBeaconAndArriveOneByOne) {
    launch("a");
    launch("b");
    launch("a");
    EXPECT_EQ(world.panels.openCount(), 1u);
    const SimPanelState* panel = shown();
    EXPECT_EQ(launchingTiles(*panel), (std::vector<bool>{true, true}));
    world.advance(0.3);
    EXPECT_EQ(panel->frame.width, 2 * 88 + 14 + 32);

    arrive("a");
    EXPECT_EQ(launchingTiles(*panel), (std::vector<bool>{false, true}));
    world.advance(3);
    EXPECT_TRUE(panel->visible) << "b is still launching";

    // Launched anew while its tile shows the full ring: the same tile spins again.
    launch("a");
    EXPECT_EQ(launchingTiles(*shown()), (std::vector<bool>{true, true}));
    arrive("a");
    arrive("b");
    world.advance(0.99);
    EXPECT_TRUE(beacon.shownPanel(kLeft)) << "the new launch renewed the second";
    world.advance(0.02);
    EXPECT_EQ(beacon.shownPanel(kLeft), std::nullopt);
    world.advance(0.22);
    EXPECT_TRUE(panel->closed);
}

TEST_F(Beacon, StaysAtLeastASecondSinceItCameUp) {
    launch("a");
    const std::uint64_t serial = *beacon.shownPanel(kLeft);
    world.advance(0.3);
    arrive("a");
    world.advance(0.69);
    EXPECT_EQ(beacon.shownPanel(kLeft), serial);
    world.advance(0.02);
    EXPECT_EQ(beacon.shownPanel(kLeft), std::nullopt);
    const SimPanelState* panel = world.panels.panel(serial);
    EXPECT_FALSE(panel->closed) << "fading out";
    world.advance(0.11);
    EXPECT_GT(panel->alpha, 0);
    EXPECT_LT(panel->alpha, 1);
    world.advance(0.11);
    EXPECT_TRUE(panel->closed);
}

TEST_F(Beacon, ItsSecondIsMeasuredOnAClockThatNeverStepsBack) {
    launch("a");
    world.advance(0.3);
    world.clock.stepWallClock(-3600);
    arrive("a");
    world.advance(0.71);
    EXPECT_EQ(beacon.shownPanel(kLeft), std::nullopt) << "not an hour and a second";

    launch("b");
    world.clock.stepWallClock(3600);
    arrive("b");
    world.advance(0.5);
    EXPECT_TRUE(beacon.shownPanel(kLeft)) << "the date jumping ahead is no time shown";
}

TEST_F(Beacon, ALaunchDuringTheWaitKeepsTheBeacon) {
    launch("a");
    world.advance(0.5);
    arrive("a");
    world.advance(0.2);
    launch("b");
    world.advance(0.5);
    ASSERT_TRUE(beacon.shownPanel(kLeft));
    EXPECT_EQ(beacon.presented(kLeft).size(), 2u);
    arrive("b");
    world.advance(0.45);
    EXPECT_TRUE(beacon.shownPanel(kLeft)) << "a second since b came in at 0.7 s";
    world.advance(0.1);
    EXPECT_FALSE(beacon.shownPanel(kLeft));
}

TEST_F(Beacon, ADismissalMeantForAnOlderBeaconNeverClosesANewerOne) {
    launch("a");
    world.advance(0.3);
    arrive("a");  // its dismissal falls due at 1.0 s
    world.advance(0.2);
    beacon.reset();
    EXPECT_EQ(world.panels.openCount(), 0u) << "closed at once";
    world.advance(0.1);
    launch("b");
    world.advance(0.1);
    arrive("b");
    world.advance(0.35);  // past the older beacon's time
    EXPECT_TRUE(beacon.shownPanel(kLeft));
    world.advance(0.6);
    EXPECT_FALSE(beacon.shownPanel(kLeft));
}

TEST_F(Beacon, EachDisplayHasItsOwnBeacon) {
    launch("a");
    world.input.setPointer({2000, 100});
    launch("b");
    ASSERT_TRUE(beacon.shownPanel(kLeft));
    ASSERT_TRUE(beacon.shownPanel(kRight));
    EXPECT_EQ(beacon.presented(kRight).size(), 1u);
    world.advance(1.5);
    arrive("b");
    world.advance(0.01);
    EXPECT_TRUE(beacon.shownPanel(kLeft));
    EXPECT_FALSE(beacon.shownPanel(kRight));
}

TEST_F(Beacon, ReduceMotionDropsTheGrowthAndTheFadeOut) {
    world.appearance.setReduceMotion(true);
    launch("a");
    const SimPanelState* panel = shown();
    const RectBL frame{960 - 60, 525 - 60, 120, 120};
    EXPECT_EQ(panel->frame, frame);
    EXPECT_EQ(panel->alpha, 0);
    EXPECT_TRUE(panel->shown<BeaconContent>()->reduceMotion);
    world.advance(0.12);
    EXPECT_GT(panel->alpha, 0) << "the fade in stays";
    world.advance(2);
    arrive("a");
    world.advance(0.001);
    EXPECT_TRUE(panel->closed);
}

}  // namespace
}  // namespace quillbern
