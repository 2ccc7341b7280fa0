#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/model/StoredProfiles.h"
#include "core/settings/DocksPaneModel.h"
#include "core/settings/SettingsServices.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "core/workspace/PlacementController.h"
#include "settings/SettingsTest.h"
#include "sim/SimDockWorld.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;

class DocksPaneModelTest : public testing::SettingsTest {
protected:
    // The shell launched on these docks, and the pane's model on its stores.
    void open(const std::vector<Profile>& docks, std::string supportEmail = "help@example.org") {
        launch(docks);
        model = made(std::move(supportEmail));
    }
    std::unique_ptr<DocksPaneModel> made(std::string supportEmail) {
        if (!chordText) chordText = std::make_unique<ChordText>(w.world.keyboardLayout, w.world.text);
        return std::make_unique<DocksPaneModel>(DocksPaneModel::Inputs{.pinned = pinned(),
                                                                       .preferences = preferences(),
                                                                       .chordText = *chordText,
                                                                       .registeredChords = services().registeredChords,
                                                                       .mainLoop = w.world.mainLoop,
                                                                       .supportEmail = std::move(supportEmail)});
    }
    std::vector<std::string> names() {
        std::vector<std::string> all;
        for (const Profile& dock : pinned().profiles())
            all.push_back(dock.name);
        return all;
    }
    Uuid idOf(std::string_view name) {
        for (const Profile& dock : pinned().profiles())
            if (dock.name == name) return dock.id;
        ADD_FAILURE() << "no dock " << name;
        return {};
    }
    std::optional<std::string> selectedName() {
        if (!model->selectedID()) return std::nullopt;
        return pinned().profile(*model->selectedID())->name;
    }
    void remove(std::string_view name) {
        model->askToRemove(idOf(name));
        model->confirmRemoval();
    }
    static std::vector<Profile> docks(int count) {
        std::vector<Profile> made;
        for (int n = 1; n <= count; ++n)
            made.push_back(simDock(n, kAllDockEdges[std::size_t(n - 1) % 4]));
        return made;
    }

    std::unique_ptr<ChordText> chordText;
    std::unique_ptr<DocksPaneModel> model;
};

TEST_F(DocksPaneModelTest, TheSelectionFollowsAppearingAddingDeletingAndUndoing) {
    open(docks(3));
    EXPECT_FALSE(model->selectedID()) << "nothing is selected before the pane shows";
    EXPECT_FALSE(model->canRemove());
    model->appeared();
    EXPECT_EQ(selectedName(), "Dock 1");
    model->select(idOf("Dock 2"));
    model->appeared();
    EXPECT_EQ(selectedName(), "Dock 2") << "a selection already made stays";

    ASSERT_TRUE(model->add());
    EXPECT_EQ(names(), (std::vector<std::string>{"Dock 1", "Dock 2", "Dock 3", "Dock 4"}));
    EXPECT_EQ(selectedName(), "Dock 4");
    EXPECT_EQ(model->detailDock(), idOf("Dock 4"));

    remove("Dock 2");
    EXPECT_EQ(selectedName(), "Dock 4") << "deleting another dock keeps the selection";
    pinned().moveProfile(idOf("Dock 4"), idOf("Dock 1"));
    EXPECT_EQ(selectedName(), "Dock 4") << "a reorder keeps the selection";
    remove("Dock 4");
    EXPECT_EQ(selectedName(), "Dock 1") << "deleting the selected dock selects the first one left";

    model->undoRemoval();
    EXPECT_EQ(names(), (std::vector<std::string>{"Dock 4", "Dock 1", "Dock 3"}));
    EXPECT_EQ(selectedName(), "Dock 4") << "the dock brought back is selected";
    EXPECT_FALSE(model->undoLabel());
}

TEST_F(DocksPaneModelTest, EmptyingTheLastDockAsksSoAndItsUndoKeepsTheSelection) {
    Profile main = simDock(1, DockEdge::left, DisplayAssignment::all(), 3);
    main.name = "Main";
    main.isVisible = false;
    main.showsWindows = false;
    main.revealMode = RevealMode::knock;
    main.chord = HotKeyChord{12, HotKeyChord::kControlCommand};
    open({main});
    model->appeared();
    EXPECT_EQ(model->removeHelp(), "Empty the last dock");
    EXPECT_EQ(model->rows().front().removeTitle, "Empty “Main”…");
    model->askToRemoveSelected();
    ASSERT_TRUE(model->pendingRemoval());
    EXPECT_EQ(model->removalTitle(), "Empty “Main”?");
    EXPECT_EQ(model->removalButton(), "Empty this dock and remove its 3 pinned items");
    model->confirmRemoval();
    EXPECT_FALSE(model->pendingRemoval());

    ASSERT_EQ(pinned().profiles().size(), 1u);
    const Profile& emptied = pinned().profiles().front();
    EXPECT_EQ(emptied.id, main.id);
    EXPECT_EQ(emptied.name, "Main");
    EXPECT_TRUE(emptied.items.empty());
    EXPECT_TRUE(emptied.isVisible && emptied.isEnabled && emptied.showsWindows);
    EXPECT_EQ(emptied.revealMode, RevealMode::hover);
    EXPECT_FALSE(emptied.chord);
    EXPECT_EQ(model->undoLabel(), "Restore “Main”");

    model->undoRemoval();
    EXPECT_EQ(pinned().profiles().front().items.size(), 3u);
    EXPECT_EQ(model->selectedID(), main.id);

    // An empty "Main" as a reset leaves it is not emptied again, and nothing can be undone.
    model->askToRemoveSelected();
    model->confirmRemoval();
    model->dismissUndo();
    model->askToRemoveSelected();
    model->confirmRemoval();
    EXPECT_FALSE(model->undoLabel());
}

TEST_F(DocksPaneModelTest, TheConfirmationSpeaksOfTheDockAndCountsTheDocksAsTheyAreNow) {
    std::vector<Profile> two = docks(2);
    two[1].name = "Work";
    open(two);
    model->appeared();
    EXPECT_EQ(model->removeHelp(), "Delete the selected dock");
    EXPECT_EQ(model->rows().back().removeTitle, "Delete “Work”…");
    model->askToRemove(idOf("Work"));
    EXPECT_EQ(model->removalTitle(), "Delete “Work”?");
    EXPECT_EQ(model->removalButton(), "Delete the dock") << "without items the question names none";
    pinned().deleteOrResetProfile(idOf("Dock 1"));
    EXPECT_EQ(model->removalTitle(), "Empty “Work”?");
    EXPECT_EQ(model->removalButton(), "Empty this dock");
    model->cancelRemoval();
    EXPECT_FALSE(model->pendingRemoval());
    EXPECT_EQ(names(), std::vector<std::string>{"Work"});

    // A name too long for the dialog keeps its start and its end.
    pinned().renameProfile(idOf("Work"), "Work" + std::string(5000, 'k'));
    model->askToRemoveSelected();
    const std::string shown = "Work" + std::string(16, 'k') + "…" + std::string(19, 'k');
    EXPECT_EQ(model->removalTitle(), "Empty “" + shown + "”?");
    EXPECT_EQ(model->rows().front().removeTitle, "Empty “" + shown + "”…");
    model->cancelRemoval();
    pinned().renameProfile(model->rows().front().id, "Work");

    // A dock that vanished while the confirmation was open is not looked for again.
    ASSERT_TRUE(model->add());
    const Uuid added = *model->selectedID();
    model->askToRemove(added);
    pinned().deleteOrResetProfile(added);
    pinned().dismissUndoableRemoval();
    model->confirmRemoval();
    EXPECT_EQ(names(), std::vector<std::string>{"Work"});
    EXPECT_FALSE(model->undoLabel());
    model->askToRemove(added);
    EXPECT_FALSE(model->pendingRemoval()) << "no confirmation for a dock that is not there";
}

TEST_F(DocksPaneModelTest, TenDocksAreTheLimit) {
    open(docks(10));
    EXPECT_FALSE(model->canAdd());
    EXPECT_FALSE(model->add());
    EXPECT_EQ(pinned().profiles().size(), 10u);
    remove("Dock 5");
    EXPECT_TRUE(model->canAdd());
    ASSERT_TRUE(model->add());
    EXPECT_EQ(selectedName(), "Dock 5") << "the first free number";
}

TEST_F(DocksPaneModelTest, BadgesShowEachDocksShortcutOnlyWhileShortcutsAreOn) {
    std::vector<Profile> ten = docks(10);
    ten[3].chord = HotKeyChord{0, HotKeyChord::kControl | HotKeyChord::kOption};
    open(ten);
    DockPreferences& preferences = w.shell->dockPreferences();
    // Held by features: the overview's override takes Control-Command-1 from the first dock,
    // and hold-to-peek takes Control-Command-2 even while docks do not hide.
    preferences.setAutoHide(false);
    preferences.setOverride(HotKeyAction(HotKeyAction::Kind::overview), HotKeyChord{18, HotKeyChord::kControlCommand});
    preferences.setOverride(HotKeyAction(HotKeyAction::Kind::peekDocks), HotKeyChord{19, HotKeyChord::kControlCommand});
    const auto digit = [this](std::size_t position) {
        return chordText->display(HotKeyChord{HotKeyBindings::kDockDigitKeys[position], HotKeyChord::kControlCommand});
    };
    std::vector<std::optional<std::string>> badges;
    for (const DockRowData& row : model->rows())
        badges.push_back(row.chord);
    EXPECT_THAT(badges, ElementsAre(std::nullopt, std::nullopt, digit(2), chordText->display(*ten[3].chord), digit(4),
                                    digit(5), digit(6), digit(7), digit(8), digit(9)));
    EXPECT_EQ(digit(9), chordText->display(HotKeyChord{29, HotKeyChord::kControlCommand})) << "0 for the tenth";

    preferences.setHotkeysEnabled(false);
    for (const DockRowData& row : model->rows())
        EXPECT_FALSE(row.chord) << row.name;
}

TEST_F(DocksPaneModelTest, AChordTheSystemDidNotRegisterIsToldSoAsItsRecorderTellsIt) {
    w.world.hotKeys.takeByOtherApplication(HotKeyBindings::kDockDigitKeys[1], HotKeyChord::kControlCommand);
    open(docks(2));
    model->appeared();
    std::vector<DockRowData> rows = model->rows();
    EXPECT_FALSE(rows[0].chordUnregistered);
    EXPECT_EQ(rows[0].chordTooltip, "Ctrl+Super+1");
    EXPECT_EQ(rows[0].description, "This dock is shown, shortcut Ctrl+Super+1");
    EXPECT_TRUE(rows[1].chordUnregistered);
    EXPECT_EQ(rows[1].chordTooltip, "Ctrl+Super+2, which could not be registered");
    EXPECT_EQ(rows[1].description, "This dock is shown, shortcut Ctrl+Super+2, which could not be registered");

    // Read again once the registration has followed the change.
    pinned().setChord(pinned().profiles()[1].id, HotKeyChord{38, HotKeyChord::kControlCommand});
    w.advance(0);
    EXPECT_FALSE(model->rows()[1].chordUnregistered);
}

TEST_F(DocksPaneModelTest, RowsTellTheDocksStateAndEdge) {
    std::vector<Profile> four = docks(4);
    four[1].isVisible = false;
    four[2].isEnabled = false;
    open(four);
    model->appeared();
    const std::vector<DockRowData> rows = model->rows();
    EXPECT_EQ(rows[0].dot, DockDot::shown);
    EXPECT_EQ(rows[0].dotTooltip, "This dock is shown");
    EXPECT_EQ(rows[1].dot, DockDot::hidden);
    EXPECT_EQ(rows[1].dotTooltip, "This dock is hidden");
    EXPECT_EQ(rows[2].dot, DockDot::disabled) << "even though it is marked visible";
    EXPECT_EQ(rows[2].dotTooltip, "This dock is disabled");
    EXPECT_EQ(rows[0].edgeSymbol, "rectangle.bottomthird.inset.filled");
    EXPECT_EQ(rows[1].edgeSymbol, "rectangle.topthird.inset.filled");
    EXPECT_EQ(rows[2].edgeSymbol, "rectangle.leftthird.inset.filled");
    EXPECT_EQ(rows[3].edgeSymbol, "rectangle.rightthird.inset.filled");
    EXPECT_TRUE(rows[0].isSelected);
    EXPECT_FALSE(rows[1].isSelected);

    pinned().renameProfile(four[1].id, "  Réunion «2»  ");
    EXPECT_EQ(model->rows()[1].name, "Réunion «2»") << "names are shown as the store keeps them";
}

TEST_F(DocksPaneModelTest, DraggingARowReordersAsItEntersOthersAndTheDropEndsIt) {
    std::vector<Profile> three = docks(3);
    three[0].name = "P";
    three[1].name = "Q";
    three[2].name = "R";
    open(three);
    const Uuid p = idOf("P");
    model->dragStarted(p);
    ASSERT_TRUE(pinned().dragSession());
    EXPECT_EQ(pinned().dragSession()->itemID, "profile:" + p.text());
    EXPECT_EQ(pinned().dragSession()->profileID, p);
    EXPECT_TRUE(model->rows()[0].isDragged);
    EXPECT_FALSE(model->rows()[1].isDragged);

    model->dragEntered(p, true);
    EXPECT_EQ(names(), (std::vector<std::string>{"P", "Q", "R"})) << "over its own row nothing moves";
    model->dragEntered(idOf("Q"), true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Q", "P", "R"}));
    model->dragEntered(idOf("R"), true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Q", "R", "P"}));
    EXPECT_TRUE(model->acceptsDrop(true));
    EXPECT_TRUE(model->dropped(true));
    EXPECT_FALSE(pinned().dragSession());

    model->dragStarted(idOf("P"));
    model->dragEntered(idOf("R"), true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Q", "P", "R"})) << "moving up takes the target's place";

    // Other drags are refused and move nothing; a drop ends them all the same.
    EXPECT_FALSE(model->acceptsDrop(false));
    model->dragEntered(idOf("Q"), false);
    pinned().setDragSession(DragSession{"app:mail", idOf("Q")});
    EXPECT_FALSE(model->acceptsDrop(true));
    model->dragEntered(idOf("R"), true);
    pinned().setDragSession(DragSession{"profile:not-a-dock", idOf("Q")});
    EXPECT_FALSE(model->acceptsDrop(true));
    EXPECT_FALSE(model->dropped(true));
    EXPECT_FALSE(pinned().dragSession());
    EXPECT_FALSE(model->acceptsDrop(true)) << "no drag at all";
    EXPECT_FALSE(model->dropped(true));
    EXPECT_EQ(names(), (std::vector<std::string>{"Q", "P", "R"}));
}

TEST_F(DocksPaneModelTest, ADockRowLetGoOutsideTheRowsEndsAtTheRelease) {
    open(docks(2));
    const OwnWindow settings{
        .isVisible = true, .frame = {1200, 100, 600, 400}, .isTitled = true, .level = {}, .hasFocus = false};
    w.world.panels.setOtherOwnWindows({settings});
    const auto drag = [&](PointBL at) {
        w.world.input.setPointer(at);
        w.world.input.setPressedButtons(kLeftButton);
        model->dragStarted(idOf("Dock 1"));
    };
    const auto release = [&](PointBL at) {
        w.world.input.setPointer(at);
        w.world.input.setPressedButtons(0);
        w.advance(PlacementController::kPollInterval);
    };

    drag({1300, 300});
    w.advance(1);
    EXPECT_TRUE(pinned().dragSession()) << "held, the drag goes on";
    release({500, 500});
    EXPECT_FALSE(pinned().dragSession()) << "let go over the desktop";

    // Over Settings, but not on a row: the window gets its moment, then the drag ends.
    drag({1300, 300});
    release({1300, 150});
    EXPECT_TRUE(pinned().dragSession());
    w.advance(PlacementController::kReleaseGrace);
    EXPECT_FALSE(pinned().dragSession());

    drag({1300, 300});
    constexpr KeyCode kEscape = 53;
    w.world.input.setKeyDown(kEscape, true);
    w.advance(PlacementController::kPollInterval);
    EXPECT_FALSE(pinned().dragSession()) << "Escape";
}

TEST_F(DocksPaneModelTest, BannersFollowTheStore) {
    w.world.defaults.setData("profiles.v1", Bytes{'{', 'x'});
    launch();
    const std::unique_ptr<DocksPaneModel> madeWithAddress = made("help@example.org");
    const std::unique_ptr<DocksPaneModel> madeWithoutAddress = made("");
    DocksPaneModel& withAddress = *madeWithAddress;
    DocksPaneModel& withoutAddress = *madeWithoutAddress;
    ASSERT_TRUE(withAddress.showsRecovery());
    EXPECT_EQ(withAddress.recoveryText(),
              "Quillbern couldn't read your saved docks and started over with an empty one. Nothing was thrown away "
              "— the previous version is still stored. Write to help@example.org and it can be brought back.");
    EXPECT_EQ(withoutAddress.recoveryText(),
              "Quillbern couldn't read your saved docks and started over with an empty one. Nothing was thrown away "
              "— the previous version is still stored.");
    withAddress.dismissRecovery();
    EXPECT_FALSE(withAddress.showsRecovery());
    EXPECT_EQ(w.world.defaults.boolValue("profilesRecoveredFromUnreadableData"), false);

    withAddress.add();
    withAddress.askToRemoveSelected();
    withAddress.confirmRemoval();
    EXPECT_EQ(withAddress.undoLabel(), "Restore “Dock 1”");
    withAddress.dismissUndo();
    EXPECT_FALSE(withAddress.undoLabel());
    EXPECT_EQ(pinned().profiles().size(), 1u) << "dismissing restores nothing";

    withAddress.add();
    withAddress.askToRemoveSelected();
    withAddress.confirmRemoval();
    pinned().renameProfile(pinned().profiles().front().id, "Other");
    EXPECT_FALSE(withAddress.undoLabel()) << "any other saved change ends the undo";
}

TEST(AlignmentLabel, NamesThePlaceAlongEachEdge) {
    for (const DockEdge edge : {DockEdge::bottom, DockEdge::top}) {
        EXPECT_EQ(alignmentLabel(DockAlignment::leading, edge), "Left");
        EXPECT_EQ(alignmentLabel(DockAlignment::center, edge), "Centred");
        EXPECT_EQ(alignmentLabel(DockAlignment::trailing, edge), "Right");
    }
    for (const DockEdge edge : {DockEdge::left, DockEdge::right}) {
        EXPECT_EQ(alignmentLabel(DockAlignment::leading, edge), "Top");
        EXPECT_EQ(alignmentLabel(DockAlignment::center, edge), "Middle");
        EXPECT_EQ(alignmentLabel(DockAlignment::trailing, edge), "Bottom");
    }
}

}  // namespace
}  // namespace quillbern
