#include <cstdio>
#include <gtest/gtest.h>

#include "core/shortcuts/ProfileHotKeys.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

using Kind = HotKeyAction::Kind;

constexpr std::uint32_t kCC = HotKeyChord::kControlCommand;
const HotKeyAction kOverview(Kind::overview);
const HotKeyAction kSearch(Kind::search);
const HotKeyAction kPeek(Kind::peekDocks);
const HotKeyBinding kOverviewA{kOverview, {0, kCC}, false, "All open apps"};
const HotKeyBinding kSearchS{kSearch, {1, kCC}, false, "Search apps"};
const HotKeyBinding kPeekP{kPeek, {35, kCC}, false, "Peek at all docks"};

HotKeyAction dockAction(int n) {
    char id[37];
    std::snprintf(id, sizeof id, "AAAAAAAA-0000-4000-8000-%012X", n);
    return HotKeyAction::profile(*Uuid::parse(id));
}

struct Report {
    HotKeyAction action;
    bool pressed;
    bool operator==(const Report&) const = default;
};

class ProfileHotKeysTest : public ::testing::Test {
protected:
    std::unique_ptr<ProfileHotKeys> start(const std::vector<HotKeyBinding>& bindings) {
        return std::make_unique<ProfileHotKeys>(world.hotKeys, text, bindings,
                                                [this](const HotKeyAction& action, bool pressed) {
                                                    reports.push_back({action, pressed});
                                                });
    }

    SimWorld world;
    ChordText text{world.keyboardLayout, world.text};
    std::vector<Report> reports;
};

}  // namespace

TEST_F(ProfileHotKeysTest, IdsFollowListPositionsAndARefusedBindingUsesUpItsOwn) {
    world.hotKeys.takeByOtherApplication(0, kCC);
    const auto hotKeys = start({kOverviewA, kSearchS});

    EXPECT_EQ(world.hotKeys.grabs(), (std::vector<SimHotKeys::Grabbed>{{1, kCC, 2}}));
    EXPECT_EQ(hotKeys->registered(), (RegisteredChords{{kSearch, {1, kCC}}}));
    EXPECT_EQ(hotKeys->refused(), (RegisteredChords{{kOverview, {0, kCC}}}));
    EXPECT_EQ(
        world.log.count("the global shortcut Ctrl+Super+A (All open apps) does not work: another application has taken "
                        "it"),
        1);

    EXPECT_TRUE(world.hotKeys.press(1, kCC));
    EXPECT_EQ(reports, (std::vector<Report>{{kSearch, true}}));
    EXPECT_FALSE(world.hotKeys.press(0, kCC)) << "the other application keeps its chord";
}

TEST_F(ProfileHotKeysTest, APressAndItsReleaseAreBothReportedAndHeldInBetween) {
    const auto hotKeys = start({{dockAction(1), {18, kCC}, false, "Dock 1"}, kPeekP});
    world.hotKeys.press(18, kCC);
    EXPECT_EQ(hotKeys->held(), std::vector<HotKeyAction>{dockAction(1)});
    world.hotKeys.release(18, kCC);
    EXPECT_TRUE(hotKeys->held().empty());
    EXPECT_EQ(reports, (std::vector<Report>{{dockAction(1), true}, {dockAction(1), false}}));

    // Events the system sends for ids of no live grab, and releases never pressed.
    reports.clear();
    world.hotKeys.deliver({true, 3});
    world.hotKeys.deliver({true, 0});
    EXPECT_TRUE(reports.empty());
    world.hotKeys.deliver({false, 2});
    EXPECT_EQ(reports, (std::vector<Report>{{kPeek, false}})) << "a release is reported even when not held";
}

TEST_F(ProfileHotKeysTest, AnUnchangedListTouchesNothingAndKeepsWhatIsHeld) {
    const auto hotKeys = start({kOverviewA, kPeekP});
    world.hotKeys.press(35, kCC);
    const int requests = world.hotKeys.grabRequests();

    hotKeys->update({kOverviewA, kPeekP});
    EXPECT_EQ(world.hotKeys.grabRequests(), requests);
    EXPECT_EQ(world.hotKeys.releasedGrabs(), 0);
    EXPECT_EQ(hotKeys->held(), std::vector<HotKeyAction>{kPeek});

    // A refused chord is not asked for again while the list stays the same.
    world.hotKeys.takeByOtherApplication(1, kCC);
    hotKeys->update({kOverviewA, kPeekP, kSearchS});
    EXPECT_EQ(hotKeys->refused().size(), 1u);
    const int afterChange = world.hotKeys.grabRequests();
    hotKeys->update({kOverviewA, kPeekP, kSearchS});
    EXPECT_EQ(world.hotKeys.grabRequests(), afterChange);

    // Equal means every member: a renamed dock registers again.
    hotKeys->update({kOverviewA, kPeekP, {kSearch, {1, kCC}, false, "Renamed"}});
    EXPECT_GT(world.hotKeys.grabRequests(), afterChange);
}

TEST_F(ProfileHotKeysTest, HeldActionsAreReleasedBeforeTheirChordsGo) {
    std::vector<std::size_t> grabsAtReport;
    ProfileHotKeys hotKeys(world.hotKeys, text, {kOverviewA, kPeekP}, [&](const HotKeyAction& action, bool pressed) {
        reports.push_back({action, pressed});
        grabsAtReport.push_back(world.hotKeys.grabs().size());
    });
    world.hotKeys.press(35, kCC);
    reports.clear();
    grabsAtReport.clear();

    // A dock came first: the peek ends while its chord is still grabbed, then all is grabbed anew.
    hotKeys.update({{dockAction(1), {18, kCC}, false, "Dock 1"}, kOverviewA, kPeekP});
    EXPECT_EQ(reports, (std::vector<Report>{{kPeek, false}}));
    EXPECT_EQ(grabsAtReport, std::vector<std::size_t>{2});
    EXPECT_TRUE(hotKeys.held().empty());
    EXPECT_EQ(world.hotKeys.grabs(), (std::vector<SimHotKeys::Grabbed>{{18, kCC, 1}, {0, kCC, 2}, {35, kCC, 3}}));
    EXPECT_FALSE(world.hotKeys.release(35, kCC)) << "the new grab never saw the press: no second release";
    EXPECT_EQ(reports.size(), 1u);

    // Shutting down releases too, then gives every chord back and removes the handler.
    world.hotKeys.press(18, kCC);
    reports.clear();
    grabsAtReport.clear();
    hotKeys.shutdown();
    EXPECT_EQ(reports, (std::vector<Report>{{dockAction(1), false}}));
    EXPECT_EQ(grabsAtReport, std::vector<std::size_t>{3});
    EXPECT_TRUE(world.hotKeys.grabs().empty());
    EXPECT_FALSE(world.hotKeys.hasHandler());
    EXPECT_TRUE(hotKeys.registered().empty());
}

TEST_F(ProfileHotKeysTest, WithoutAHandlerNothingIsEverRegistered) {
    world.hotKeys.failHandlerWith(-9);
    const auto hotKeys = start({kOverviewA, kSearchS});
    EXPECT_EQ(world.log.count("global shortcuts are off: the key handler could not be installed (error -9)"), 1);
    hotKeys->update({kSearchS});
    EXPECT_EQ(world.hotKeys.grabRequests(), 0);
    EXPECT_TRUE(hotKeys->registered().empty());
    EXPECT_TRUE(hotKeys->current().empty());
    hotKeys->shutdown();
    EXPECT_TRUE(reports.empty());
}

TEST_F(ProfileHotKeysTest, GoingAwayGivesTheChordsBackWithoutReports) {
    auto hotKeys = start({kOverviewA, kPeekP});
    world.hotKeys.press(35, kCC);
    reports.clear();
    hotKeys.reset();
    EXPECT_TRUE(world.hotKeys.grabs().empty());
    EXPECT_FALSE(world.hotKeys.hasHandler());
    EXPECT_TRUE(reports.empty());
}
