#include <gtest/gtest.h>

#include "DockModelSupport.h"

using namespace quillbern;

namespace {

using Events = std::vector<std::string>;

// A store started on the given docks, with every signal and callback recorded in order.
class DockOperations : public ::testing::Test {
protected:
    void start(Json docks) {
        world.storeProfiles(docks);
        world.defaults.set("profiles.multidock.migrated", true);
        store = world.startStore();
        world.defaults.resetWriteCounts();
        subscriptions.push_back(store->profilesChanged.connect([this] { events.push_back("profiles"); }));
        subscriptions.push_back(store->dragSessionChanged.connect([this] { events.push_back("dragSession"); }));
        subscriptions.push_back(store->undoableRemovalChanged.connect([this] { events.push_back("undoable"); }));
        store->onDragSessionChange = [this] { events.push_back("onDragSessionChange"); };
        store->onLayoutChange = [this] { events.push_back("onLayoutChange"); };
        store->onBindingsChange = [this] { events.push_back("onBindingsChange"); };
        store->onContentChange = [this] { events.push_back("onContentChange"); };
    }

    // Docks 1 to n on the bottom edge of all displays, with the given visible ones.
    void startWithDocks(int n, std::vector<int> visible, Json extra = Json::object()) {
        Json docks = Json::array();
        for (int i = 1; i <= n; ++i) {
            Json members = extra;
            members["isVisible"] = std::ranges::find(visible, i) != visible.end();
            members["isEnabled"] = true;
            docks.push_back(dockJson(i, "Dock " + std::to_string(i), members));
        }
        start(docks);
    }

    const Profile& dock(int n) const { return *std::ranges::find(store->profiles(), seededUuid(n), &Profile::id); }
    std::vector<int> visibleDocks() const {
        std::vector<int> out;
        for (std::size_t i = 0; i < store->profiles().size(); ++i) {
            if (store->profiles()[i].isVisible) out.push_back(static_cast<int>(i) + 1);
        }
        return out;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const Profile& p : store->profiles())
            out.push_back(p.name);
        return out;
    }
    int saves() const { return world.defaults.writeCount("profiles.v1"); }

    DockWorld world;
    std::unique_ptr<PinnedStore> store;
    Events events;
    std::vector<Subscription> subscriptions;
};

const Events kLayoutChange{"profiles",       "undoable",        "dragSession", "onDragSessionChange",
                           "onLayoutChange", "onBindingsChange"};

}  // namespace

TEST_F(DockOperations, ShowingADockOnAFullSlotHidesTheLaterOfTheOthers) {
    startWithDocks(3, {1, 2});
    EXPECT_TRUE(store->setVisible(seededUuid(3), true));
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 3}));
    EXPECT_EQ(saves(), 1);
    EXPECT_FALSE(world.storedJson("profiles.v1")[1]["isVisible"]);
    EXPECT_EQ(events, kLayoutChange);
}

TEST_F(DockOperations, ASwitchedOffDockCannotBeShownAndBeepsWhenToggled) {
    startWithDocks(3, {1, 2});
    store->setEnabled(seededUuid(3), false);
    events.clear();
    EXPECT_FALSE(store->setVisible(seededUuid(3), true));
    store->toggleVisibility(seededUuid(3));
    EXPECT_EQ(world.alerts.beepCount(), 1);
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(events.empty());

    EXPECT_TRUE(store->setVisible(seededUuid(1), true));  // already shown: nothing to do
    EXPECT_FALSE(store->setVisible(seededUuid(9), true));
    EXPECT_EQ(saves(), 1);
    EXPECT_TRUE(events.empty());

    store->toggleVisibility(seededUuid(2));
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1}));
}

TEST_F(DockOperations, SlotsCompareDisplaysByStableIdentifierOnly) {
    const Json left = {{"stableID", "16-1-7"}, {"name", "Left"}};
    const Json renamed = {{"stableID", "16-1-7"}, {"name", "DELL"}};
    start(Json::array({dockJson(1, "A", {{"isVisible", true}}), dockJson(2, "B", {{"isVisible", true}}),
                       dockJson(3, "C", {{"isVisible", true}, {"display", {{"display", left}}}}),
                       dockJson(4, "D", {{"isVisible", true}, {"display", {{"display", renamed}}}}),
                       dockJson(5, "E", {{"isEnabled", true}, {"display", {{"display", left}}}})}));
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2, 3, 4}));
    store->setVisible(seededUuid(5), true);
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2, 3, 5}));
}

TEST_F(DockOperations, MovingAStandingDockHidesTheLaterOfTwoAtTheNewPlace) {
    startWithDocks(4, {1, 2, 3}, {{"edge", "top"}});
    store->setEdge(seededUuid(1), DockEdge::bottom);
    store->setEdge(seededUuid(4), DockEdge::bottom);  // hidden: only its edge changes
    store->setEdge(seededUuid(1), DockEdge::top);
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
    EXPECT_EQ(dock(4).edge, DockEdge::bottom);

    store->setEnabled(seededUuid(3), false);
    store->setVisible(seededUuid(3), false);
    store->setEdge(seededUuid(3), DockEdge::bottom);
    store->setVisible(seededUuid(3), true);  // switched off: refused
    store->setEnabled(seededUuid(3), false);
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
}

TEST_F(DockOperations, SwitchingOnAShownDockAppliesTheSlotRule) {
    startWithDocks(3, {1, 2, 3});  // the load hid the third
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
    store->setEnabled(seededUuid(2), false);
    store->setVisible(seededUuid(3), true);
    store->setEnabled(seededUuid(2), true);  // still visible: the later of 1 and 3 steps back
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
}

TEST_F(DockOperations, ADisplayChangeOfNameAloneIsAChange) {
    startWithDocks(1, {1});
    store->setDisplay(seededUuid(1), DisplayAssignment::display("16-1-7", "Left"));
    store->setDisplay(seededUuid(1), DisplayAssignment::display("16-1-7", "Left"));
    store->setDisplay(seededUuid(1), DisplayAssignment::display("16-1-7", "DELL"));
    store->setDisplay(seededUuid(1), DisplayAssignment::display("16-1-7", "\xFF\xFE"));
    EXPECT_EQ(dock(1).display.name(), "DELL");
    EXPECT_EQ(saves(), 2);
}

TEST_F(DockOperations, SettingsCallOnlyTheCallbacksTheyConcern) {
    startWithDocks(2, {1});
    store->setShowsWindows(seededUuid(1), true);
    store->setRevealMode(seededUuid(1), RevealMode::knock);
    store->setShowsWindows(seededUuid(1), true);
    EXPECT_EQ(events, (Events{"profiles", "undoable", "profiles", "undoable"}));
    events.clear();
    store->setAlignment(seededUuid(1), DockAlignment::leading);
    EXPECT_EQ(events, (Events{"profiles", "undoable", "onContentChange"}));
    events.clear();
    store->setChord(seededUuid(1), HotKeyChord{18, 0x1100});
    store->setChord(seededUuid(1), HotKeyChord{18, 0x1100});
    store->setChord(seededUuid(2), HotKeyChord{19, 0x1100});
    store->clearAllChords();
    store->clearAllChords();
    EXPECT_EQ(std::ranges::count(events, "onBindingsChange"), 3);
    EXPECT_FALSE(dock(1).chord || dock(2).chord);
    EXPECT_EQ(saves(), 6);
}

TEST_F(DockOperations, NewDocksTakeTheFirstFreeEdgeOrWaitHidden) {
    startWithDocks(1, {1});
    const auto second = store->addProfile(store->nextDefaultProfileName());
    ASSERT_TRUE(second);
    const Profile added = *store->profile(*second);
    EXPECT_EQ(added.name, "Dock 2");
    EXPECT_EQ(added.edge, DockEdge::top);
    EXPECT_TRUE(added.isVisible && added.isEnabled);
    EXPECT_FALSE(added.showsWindows);
    EXPECT_EQ(events, kLayoutChange);

    store->addProfile("Left");
    store->addProfile("Right");
    const Profile waiting = *store->profile(*store->addProfile("Fifth"));
    EXPECT_EQ(waiting.edge, DockEdge::bottom);
    EXPECT_FALSE(waiting.isVisible);
    EXPECT_TRUE(waiting.isEnabled);
    EXPECT_EQ(store->profiles()[3].edge, DockEdge::right);
}

TEST_F(DockOperations, TheTenthDockIsTheLast) {
    startWithDocks(10, {});
    EXPECT_FALSE(store->addProfile("Eleventh"));
    EXPECT_EQ(store->profiles().size(), 10u);
    EXPECT_EQ(saves(), 0);
}

TEST_F(DockOperations, DefaultNamesFillTheFirstGap) {
    start(Json::array({dockJson(1, "Dock 1"), dockJson(2, "Dock 3")}));
    EXPECT_EQ(store->nextDefaultProfileName(), "Dock 2");
}

TEST_F(DockOperations, AutomationFindsDocksByIdentifierPositionOrName) {
    start(Json::array({dockJson(1, "Work"), dockJson(2, "2"), dockJson(3, "-1"), dockJson(4, seededId(99))}));
    EXPECT_EQ(store->resolveProfile("2")->name, "2");
    EXPECT_EQ(store->resolveProfile("+2")->id, seededUuid(2));
    EXPECT_EQ(store->resolveProfile("4")->id, seededUuid(4));
    EXPECT_EQ(store->resolveProfile("-1")->id, seededUuid(3));  // no position -1: a name
    EXPECT_FALSE(store->resolveProfile("0"));
    EXPECT_FALSE(store->resolveProfile("11"));
    EXPECT_FALSE(store->resolveProfile("99999999999999999999"));
    EXPECT_FALSE(store->resolveProfile(seededId(99)));  // a UUID no dock has, though a dock bears it as a name
    EXPECT_EQ(store->resolveProfile("aaaaaaaa-0000-4000-8000-000000000001")->name, "Work");
    EXPECT_EQ(store->resolveProfile("work")->id, seededUuid(1));
    EXPECT_FALSE(store->resolveProfile(""));
}

TEST_F(DockOperations, DocksMoveToTheTargetsPlace) {
    start(Json::array({dockJson(1, "P"), dockJson(2, "Q"), dockJson(3, "R"), dockJson(4, "S")}));
    store->moveProfile(seededUuid(1), seededUuid(3));
    EXPECT_EQ(names(), (std::vector<std::string>{"Q", "R", "P", "S"}));
    EXPECT_EQ(events, (Events{"profiles", "undoable", "onContentChange", "onBindingsChange"}));
    store->moveProfile(seededUuid(4), seededUuid(2));
    EXPECT_EQ(names(), (std::vector<std::string>{"S", "Q", "R", "P"}));
    store->moveProfile(seededUuid(4), seededUuid(4));
    store->moveProfile(seededUuid(4), seededUuid(9));
    EXPECT_EQ(saves(), 2);
}

TEST_F(DockOperations, RenamingTrimsHorizontalSpaceAndRefusesWhatCannotBeStored) {
    startWithDocks(1, {1});
    store->renameProfile(seededUuid(1), "  Work  ");
    EXPECT_EQ(dock(1).name, "Work");
    store->renameProfile(seededUuid(1), "\t\xE3\x80\x80Home\xC2\xA0");
    EXPECT_EQ(dock(1).name, "Home");
    store->renameProfile(seededUuid(1), " \t ");
    store->renameProfile(seededUuid(1), "Home");
    store->renameProfile(seededUuid(1), "Caf\xE9");  // Latin-1, not UTF-8
    EXPECT_EQ(dock(1).name, "Home");
    // One line, read as typed: breaks leave a space, a right-to-left override goes.
    store->renameProfile(seededUuid(1),
                         "Two\nLines\t\xE2\x80\xAE"
                         "evil ");
    EXPECT_EQ(dock(1).name, "Two Lines evil");
    store->renameProfile(seededUuid(1), "\n\xE2\x81\xA6\r");
    EXPECT_EQ(dock(1).name, "Two Lines evil") << "nothing left to name it";
    EXPECT_EQ(saves(), 3);
    EXPECT_FALSE(store->addProfile("\xC0\xAF"));  // an overlong form
    EXPECT_EQ(std::ranges::count(events, "onLayoutChange"), 0);
    EXPECT_EQ(store->findProfile(*store->addProfile("New\r\ndock"))->name, "New dock");
}

TEST_F(DockOperations, RemovingADockCanBeUndoneUntilTheNextChange) {
    startWithDocks(3, {1, 2});
    store->deleteOrResetProfile(seededUuid(2));
    EXPECT_EQ(names(), (std::vector<std::string>{"Dock 1", "Dock 3"}));
    ASSERT_TRUE(store->undoableRemoval());
    EXPECT_EQ(store->undoableRemoval()->label, "Restore “Dock 2”");
    EXPECT_EQ(events, (Events{"profiles", "undoable", "dragSession", "onDragSessionChange", "onLayoutChange",
                              "onBindingsChange"}));

    events.clear();
    store->undoLastRemoval();
    EXPECT_EQ(names(), (std::vector<std::string>{"Dock 1", "Dock 2", "Dock 3"}));
    EXPECT_EQ(visibleDocks(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(store->undoableRemoval());
    EXPECT_EQ(events, (Events{"undoable", "profiles", "dragSession", "onDragSessionChange", "onLayoutChange",
                              "onBindingsChange"}));
    EXPECT_EQ(world.storedJson("profiles.v1").size(), 3u);

    // A name too long for a menu line keeps its start and end in the undo's title.
    store->renameProfile(seededUuid(3), "Long" + std::string(5000, 'g'));
    store->deleteOrResetProfile(seededUuid(3));
    EXPECT_EQ(store->undoableRemoval()->label,
              "Restore “Long" + std::string(16, 'g') + "…" + std::string(19, 'g') + "”");
    store->renameProfile(seededUuid(1), "Work");
    EXPECT_FALSE(store->undoableRemoval());
    store->undoLastRemoval();
    EXPECT_EQ(store->profiles().size(), 2u);
}

TEST_F(DockOperations, TheOnlyDockIsResetUnlessAlreadyInItsResetForm) {
    start(Json::array({dockJson(1, "Work",
                                {{"isVisible", true},
                                 {"edge", "left"},
                                 {"items", {appJson("a")}},
                                 {"chord", {{"keyCode", 18}, {"modifiers", 4352}}}})}));
    store->deleteOrResetProfile(seededUuid(1));
    const Profile reset = dock(1);
    EXPECT_EQ(reset.name, "Main");
    EXPECT_EQ(reset.edge, DockEdge::left);
    EXPECT_TRUE(reset.items.empty() && reset.isVisible && reset.isEnabled && reset.showsWindows);
    EXPECT_FALSE(reset.chord);
    EXPECT_EQ(store->undoableRemoval()->label, "Restore “Work”");

    store->renameProfile(seededUuid(1), "Other");
    store->renameProfile(seededUuid(1), "Main");
    events.clear();
    const int savesBefore = saves();
    store->deleteOrResetProfile(seededUuid(1));
    EXPECT_FALSE(store->undoableRemoval());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(saves(), savesBefore);
}

TEST_F(DockOperations, EveryDragAssignmentIsAnnouncedAndLayoutChangesEndTheDrag) {
    startWithDocks(2, {1});
    store->setDragSession(DragSession{"app:a", seededUuid(1)});
    store->setDragSession(std::nullopt);
    store->setDragSession(std::nullopt);
    EXPECT_EQ(std::ranges::count(events, "onDragSessionChange"), 3);
    EXPECT_EQ(std::ranges::count(events, "dragSession"), 3);

    store->setDragSession(DragSession{"app:a", seededUuid(1)});
    store->setVisible(seededUuid(2), true);
    EXPECT_FALSE(store->dragSession());
}
