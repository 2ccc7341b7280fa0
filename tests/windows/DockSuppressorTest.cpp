#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "core/windows/DockSuppressor.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

constexpr const char* kAutohide = "autohide";
constexpr const char* kDelay = "autohide-delay";
constexpr const char* kTimeModifier = "autohide-time-modifier";
constexpr const char* kOriginals = "nativeDockOriginals";
constexpr const char* kEnabled = "hideNativeDock";

const std::string kRefused =
    "The desktop refused the change to its dock's settings. Try again, and if it keeps failing, log out and log back "
    "in.";

// The three settings as one value, absent ones as null, to compare in one go.
Json triple(const std::optional<Json>& autohide, const std::optional<Json>& delay,
            const std::optional<Json>& timeModifier) {
    return Json::array({autohide.value_or(nullptr), delay.value_or(nullptr), timeModifier.value_or(nullptr)});
}

const Json kHidden = triple(true, 999.75, 0.0);
const Json kNone = triple(std::nullopt, std::nullopt, std::nullopt);

class Suppression : public ::testing::Test {
protected:
    SimWorld world;
    SimNativeDockPreferences& dock = world.nativeDock;
    std::optional<DockSuppressor> suppressor;
    Subscription counting;
    int notices = 0;

    // A launch of the program: a new suppressor on the stored settings.
    DockSuppressor& launch() {
        counting = Subscription();
        suppressor.emplace(world.defaults, dock);
        counting = suppressor->changed.connect([this] { ++notices; });
        suppressor->applyAtLaunch();
        return *suppressor;
    }
    void userHas(const std::optional<Json>& autohide, const std::optional<Json>& delay,
                 const std::optional<Json>& timeModifier) {
        dock.userSets(kAutohide, autohide);
        dock.userSets(kDelay, delay);
        dock.userSets(kTimeModifier, timeModifier);
    }
    // What the dock goes by.
    Json dockShows() const {
        return triple(dock.dockValue(kAutohide), dock.dockValue(kDelay), dock.dockValue(kTimeModifier));
    }
    // What the program reads back.
    Json weRead() const { return triple(dock.value(kAutohide), dock.value(kDelay), dock.value(kTimeModifier)); }
    std::optional<Json> record() const {
        const auto data = world.defaults.dataValue(kOriginals);
        if (!data) return std::nullopt;
        return Json::parse(data->begin(), data->end());
    }
    void storeRecord(std::string_view text) { world.defaults.setData(kOriginals, Bytes(text.begin(), text.end())); }
};

TEST_F(Suppression, HidingSavesTheUsersValuesOnceAndSwitchingOffPutsThemBack) {
    userHas(false, 0.5, 1.0);
    auto& s = launch();
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(dock.synchronizations(), 0);

    s.setEnabled(true);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(s.lastError(), std::nullopt);
    EXPECT_EQ(world.defaults.boolValue(kEnabled), true);
    EXPECT_EQ(record(), Json::parse(R"({"autohide": false, "delay": 0.5, "timeModifier": 1.0})"));
    EXPECT_EQ(dockShows(), kHidden);
    EXPECT_EQ(dock.restarts(), std::vector<Duration>{2.0});
    EXPECT_EQ(notices, 1);

    s.setEnabled(false);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(world.defaults.boolValue(kEnabled), false);
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));
    EXPECT_EQ(record(), std::nullopt);
    EXPECT_EQ(dock.restarts().size(), 2u);
    EXPECT_EQ(notices, 2);
    EXPECT_TRUE(world.log.lines().empty());
}

TEST_F(Suppression, AUserWithoutTheKeysGetsThemRemovedAgain) {
    auto& s = launch();
    s.setEnabled(true);
    EXPECT_EQ(record(), Json::object());
    EXPECT_EQ(dockShows(), kHidden);
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), kNone);
}

TEST_F(Suppression, ADockAlreadyHiddenIsLeftAloneAndRestoringRemovesTheKeys) {
    userHas(true, 999.75, 0.0);
    auto& s = launch();
    s.setEnabled(true);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(record(), std::nullopt);
    EXPECT_EQ(dock.writes(), 0);
    EXPECT_EQ(dock.synchronizations(), 0);
    EXPECT_TRUE(dock.restarts().empty());

    s.setEnabled(false);
    EXPECT_EQ(dockShows(), kNone);
    EXPECT_EQ(dock.restarts().size(), 1u);

    // Our delay marks a dock we hid before, whatever else it carries: the record is empty,
    // so restoring removes the keys.
    userHas(false, 999.75, 0.3);
    s.setEnabled(true);
    EXPECT_EQ(record(), Json::object());
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), kNone);
}

TEST_F(Suppression, WhatTheUserChangedWhileTheDockWasHiddenStaysAsTheUserSetIt) {
    userHas(true, 0.5, 1.0);
    auto& s = launch();
    s.setEnabled(true);
    // Auto-hide switched off, a delay of the user's own, the slide setting removed.
    userHas(false, 2.0, std::nullopt);
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), triple(false, 2.0, 1.0));

    userHas(true, 0.5, 1.0);
    s.setEnabled(true);
    // Only the slide changed: the rest comes back from the record.
    dock.userSets(kTimeModifier, 0.25);
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), triple(true, 0.5, 0.25));
}

TEST_F(Suppression, TextNumbersAreReadWithAPointAndAnythingElseCountsAsNoValue) {
    userHas(1, "0.5", "1e-1");
    auto& s = launch();
    s.setEnabled(true);
    EXPECT_EQ(record(), Json::parse(R"({"autohide": true, "delay": 0.5, "timeModifier": 0.1})"));
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), triple(true, 0.5, 0.1));

    userHas("true", "0,5", " 0.5");
    s.setEnabled(true);
    EXPECT_EQ(record(), Json::object());
    s.setEnabled(false);
    EXPECT_EQ(dockShows(), kNone);

    userHas(std::nullopt, "+2", "+-1");
    s.setEnabled(true);
    EXPECT_EQ(record(), Json::parse(R"({"delay": 2.0})"));
}

TEST_F(Suppression, ARunThatDiedWhileHidingIsPutRightAtTheNextLaunch) {
    userHas(false, 0.5, 1.0);
    launch().setEnabled(true);
    // Killed: no restore. Meanwhile the user brought the dock back by hand.
    suppressor.reset();
    EXPECT_EQ(dockShows(), kHidden);
    userHas(false, 0.2, 1.0);

    // Hiding is still on: the dock is hidden again and the first record is kept.
    auto& next = launch();
    EXPECT_TRUE(next.isEnabled());
    EXPECT_EQ(dockShows(), kHidden);
    EXPECT_EQ(record(), Json::parse(R"({"autohide": false, "delay": 0.5, "timeModifier": 1.0})"));

    // Quitting while on puts the user's values back.
    next.restore();
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));
    EXPECT_EQ(record(), std::nullopt);
    EXPECT_TRUE(next.isEnabled());
}

TEST_F(Suppression, ALaunchWithHidingOffRestoresLeftoverValuesOnly) {
    userHas(false, 0.5, 1.0);
    launch().setEnabled(true);
    // Died after hiding was switched off but before the values went back.
    suppressor.reset();
    world.defaults.set(kEnabled, false);
    auto& s = launch();
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));
    EXPECT_EQ(record(), std::nullopt);

    // Without a record nothing happens, even to a dock that looks hidden.
    userHas(true, 999.75, 0.0);
    const int synchronizations = dock.synchronizations();
    launch();
    EXPECT_EQ(dockShows(), kHidden);
    EXPECT_EQ(dock.synchronizations(), synchronizations);

    // A record that cannot be read counts as no values at all.
    storeRecord("{\"delay\": \"half a second\"}");
    launch();
    EXPECT_EQ(dockShows(), kNone);
    EXPECT_EQ(record(), std::nullopt);
    userHas(true, 999.75, 0.0);
    storeRecord("not json");
    launch();
    EXPECT_EQ(dockShows(), kNone);
}

TEST_F(Suppression, ARefusedSwitchOnLeavesTheDockAndTheSwitchAsTheyWere) {
    userHas(false, "0.5", 1.0);
    auto& s = launch();
    dock.refuseSynchronizations(1);
    s.setEnabled(true);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(s.lastError(), kRefused);
    EXPECT_EQ(world.defaults.writeCount(kEnabled), 0);
    EXPECT_TRUE(dock.restarts().empty());
    // The refused values are taken back, exactly as they were, and nothing is left to restore.
    EXPECT_EQ(dockShows(), triple(false, "0.5", 1.0));
    EXPECT_EQ(weRead(), triple(false, "0.5", 1.0));
    EXPECT_EQ(record(), std::nullopt);

    // A later success clears the message.
    s.setEnabled(true);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(s.lastError(), std::nullopt);
    EXPECT_EQ(dockShows(), kHidden);
}

TEST_F(Suppression, ARefusedSwitchOffKeepsTheSwitchOnAndTheFirstRecord) {
    userHas(false, 0.5, 1.0);
    auto& s = launch();
    s.setEnabled(true);
    dock.refuseSynchronizations(1);
    s.setEnabled(false);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(world.defaults.boolValue(kEnabled), true);
    EXPECT_EQ(s.lastError(), kRefused);
    EXPECT_EQ(dockShows(), kHidden);
    EXPECT_EQ(weRead(), kHidden);
    EXPECT_EQ(dock.restarts().size(), 1u);

    // Switching on again changes nothing and keeps the message.
    const int synchronizations = dock.synchronizations();
    s.setEnabled(true);
    EXPECT_EQ(s.lastError(), kRefused);
    EXPECT_EQ(dock.synchronizations(), synchronizations);

    s.setEnabled(false);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(s.lastError(), std::nullopt);
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));

    // At quit a refused restore is silent and the record waits for the next launch.
    s.setEnabled(true);
    dock.refuseSynchronizations(1);
    EXPECT_FALSE(s.restore());
    EXPECT_EQ(s.lastError(), std::nullopt);
    EXPECT_TRUE(record().has_value());
    EXPECT_EQ(dockShows(), kHidden);
}

TEST_F(Suppression, ValuesThatCannotBeSavedAreNeverChanged) {
    userHas(true, "nan", 1.0);
    auto& s = launch();
    s.setEnabled(true);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(s.lastError(),
              "Quillbern couldn't save your current settings of the desktop's dock, so it left them alone — it never "
              "changes the desktop's dock without a way back.");
    EXPECT_EQ(dock.writes(), 0);
    EXPECT_EQ(record(), std::nullopt);
    EXPECT_EQ(world.defaults.writeCount(kEnabled), 0);

    dock.userSets(kDelay, std::numeric_limits<double>::infinity());
    s.setEnabled(true);
    EXPECT_EQ(dock.writes(), 0);
}

TEST_F(Suppression, WithoutADesktopDockSwitchingOnFailsWithTheReason) {
    dock.setSupported(false);
    auto& s = launch();
    s.setEnabled(true);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(s.lastError(),
              "No desktop dock to hide on this desktop: Quillbern hides the GNOME dock (Dash to Dock or Ubuntu Dock), "
              "which is not installed here.");
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(dock.writes(), 0);

    // Hiding left on from a desktop that had the dock: the launch says why it cannot hide,
    // and switching off still works, keeping the record for the dock's return.
    dock.setSupported(true);
    userHas(false, 0.5, 1.0);
    s.setEnabled(true);
    dock.setSupported(false);
    auto& next = launch();
    EXPECT_TRUE(next.isEnabled());
    EXPECT_TRUE(next.lastError().has_value());
    next.setEnabled(false);
    EXPECT_FALSE(next.isEnabled());
    EXPECT_EQ(next.lastError(), std::nullopt);
    EXPECT_TRUE(record().has_value());

    dock.setSupported(true);
    launch();
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));
}

TEST_F(Suppression, ARestartThatFailsIsOnlyLoggedAndItsWaitIsBounded) {
    userHas(false, 0.5, 1.0);
    auto& s = launch();
    dock.scriptRestart({.runsFor = 30});
    s.setEnabled(true);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(dock.restarts(), std::vector<Duration>{2.0});
    EXPECT_TRUE(
        world.log.contains("Quillbern: restarting the desktop's dock was still running after 2 s — stopped waiting"));

    dock.scriptRestart({.exitStatus = 1});
    s.setEnabled(false);
    EXPECT_FALSE(s.isEnabled());
    EXPECT_TRUE(world.log.contains("Quillbern: restarting the desktop's dock exited with status 1"));

    dock.scriptRestart({.launchError = Error{"No such file or directory", "posix", 2}});
    s.setEnabled(true);
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(s.lastError(), std::nullopt);
    EXPECT_TRUE(world.log.contains("Quillbern: failed to restart the desktop's dock: No such file or directory"));
    EXPECT_EQ(world.log.lines().size(), 3u);
}

TEST_F(Suppression, ALaunchThatCannotHideKeepsTheSwitchOnAndShowsWhy) {
    world.defaults.set(kEnabled, true);
    userHas(false, 0.5, 1.0);
    dock.refuseSynchronizations(1);
    auto& s = launch();
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(s.lastError(), kRefused);
    EXPECT_EQ(dockShows(), triple(false, 0.5, 1.0));
    EXPECT_EQ(record(), std::nullopt);

    // Taken back too when the desktop refuses that as well: the record stays for a restore.
    dock.refuseSynchronizations(2);
    launch();
    EXPECT_EQ(weRead(), triple(false, 0.5, 1.0));
    EXPECT_TRUE(record().has_value());
    EXPECT_TRUE(
        world.log.contains("Quillbern: the desktop's dock settings could not be put back after a refused change"));
}

}  // namespace
}  // namespace quillbern
