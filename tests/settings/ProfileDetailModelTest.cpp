#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/model/StoredProfiles.h"
#include "core/palettes/AppSearchController.h"
#include "core/palettes/AppSearchState.h"
#include "core/settings/CommitDraft.h"
#include "core/settings/ItemRowsModel.h"
#include "core/settings/ProfileDetailModel.h"
#include "core/settings/SettingsServices.h"
#include "settings/SettingsTest.h"
#include "sim/SimDockWorld.h"

namespace quillbern {
namespace {

constexpr std::uint32_t kCtrlSuper = HotKeyChord::kControlCommand;

class ProfileDetailModelTest : public testing::SettingsTest {
protected:
    // The shell launched on these docks, and the editor of the dock at `shown`.
    void open(const std::vector<Profile>& docks, std::size_t shown = 0) {
        launch(docks);
        chordText = std::make_unique<ChordText>(w.world.keyboardLayout, w.world.text);
        model = makeModel(pinned().profiles().at(shown).id);
    }
    std::unique_ptr<ProfileDetailModel> makeModel(const Uuid& id) {
        return std::make_unique<ProfileDetailModel>(
            ProfileDetailModel::Inputs{.pinned = pinned(),
                                       .preferences = preferences(),
                                       .registeredChords =
                                           [this] {
                                               ++registrationReads;
                                               return services().registeredChords();
                                           },
                                       .chordText = *chordText,
                                       .screens = w.world.screens,
                                       .mainLoop = w.world.mainLoop,
                                       .threads = w.world.threads,
                                       .installedApps = services().installedApps},
            id);
    }
    const Profile& shown() { return *pinned().findProfile(model->profileID()); }
    static std::vector<Profile> docks(int count) {
        std::vector<Profile> made;
        for (int n = 1; n <= count; ++n)
            made.push_back(simDock(n, kAllDockEdges[std::size_t(n - 1) % 4]));
        return made;
    }
    static ScreenInfo screen(std::optional<DisplayId> id, std::optional<std::string> stableId, std::string name) {
        ScreenInfo info;
        info.id = id;
        info.stableId = std::move(stableId);
        info.name = std::move(name);
        info.frame = info.visibleFrame = RectBL{0, 0, 1920, 1080};
        return info;
    }

    std::unique_ptr<ChordText> chordText;
    std::unique_ptr<ProfileDetailModel> model;
    int registrationReads = 0;
};

TEST_F(ProfileDetailModelTest, TheChordIsTheDocksOwnElseTheDigitOfItsPlace) {
    std::vector<Profile> ten = docks(10);
    ten[1].chord = HotKeyChord{38, kCtrlSuper};
    open(ten, 2);
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{20, kCtrlSuper})) << "the third dock answers to the 3 key";
    EXPECT_EQ(model->badge(), chordText->display(HotKeyChord{20, kCtrlSuper}));
    EXPECT_FALSE(model->recorderRow().isCustom);

    pinned().moveProfile(model->profileID(), ten[0].id);
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{18, kCtrlSuper})) << "moved to the top: the 1 key";
    model->setProfileID(ten[9].id);
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{29, kCtrlSuper})) << "the tenth answers to 0";
    model->setProfileID(ten[1].id);
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{38, kCtrlSuper}));
    EXPECT_TRUE(model->recorderRow().isCustom);

    preferences().setHotkeysEnabled(false);
    EXPECT_FALSE(model->badge()) << "no badge while the shortcuts are off";
}

TEST_F(ProfileDetailModelTest, EditsGoToTheDockShownAndANameToTheDockItWasTypedFor) {
    open(docks(2));
    const Uuid first = model->profileID();
    model->setProfileID(pinned().profiles()[1].id);
    model->setAlignment(DockAlignment::trailing);
    model->setRevealMode(RevealMode::knock);
    EXPECT_EQ(shown().alignment, DockAlignment::trailing);
    EXPECT_EQ(shown().revealMode, RevealMode::knock);
    EXPECT_EQ(pinned().findProfile(first)->alignment, DockAlignment::center);

    model->rename(first, "Typed");
    EXPECT_EQ(model->nameOf(first), "Typed");
    EXPECT_EQ(shown().name, "Dock 2");

    pinned().deleteOrResetProfile(model->profileID());
    EXPECT_EQ(model->nameOf(model->profileID()), "") << "the dock is gone";
}

TEST_F(ProfileDetailModelTest, ARecordedChordPassesItsChecksInOrderBeforeItIsStored) {
    open(docks(2));
    model->appeared();
    const Uuid id = model->profileID();

    model->record(HotKeyChord{40, HotKeyChord::kCommand});
    EXPECT_EQ(model->chordNote()->style, SettingsNoteStyle::error);
    EXPECT_THAT(model->chordNote()->text, ::testing::EndsWith("from every application."));
    EXPECT_FALSE(shown().chord) << "one modifier is refused";

    // The overview's chord, and the other dock's default one, are taken.
    model->record(HotKeyChord{0, kCtrlSuper});
    EXPECT_THAT(model->chordNote()->text, ::testing::HasSubstr("is already Quillbern's “All open apps”."));
    model->record(HotKeyChord{19, kCtrlSuper});
    EXPECT_THAT(model->chordNote()->text, ::testing::HasSubstr("“Dock 2”"));
    EXPECT_FALSE(shown().chord);

    const HotKeyChord terminal{17, HotKeyChord::kControl | HotKeyChord::kOption};
    model->record(terminal);
    EXPECT_EQ(shown().chord, terminal) << "a chord of the desktop's is taken over";
    EXPECT_EQ(model->chordNote()->style, SettingsNoteStyle::warning);

    const int reads = registrationReads;
    const HotKeyChord plain{38, kCtrlSuper};
    model->record(plain);
    EXPECT_EQ(shown().chord, plain);
    EXPECT_FALSE(model->chordNote());
    EXPECT_EQ(registrationReads, reads + 1) << "what was registered is read after each recording";
    EXPECT_TRUE(model->recorderRow().isLive);

    const HotKeyChord held{38, kCtrlSuper | HotKeyChord::kShift};
    w.world.hotKeys.takeByOtherApplication(held.keyCode, held.modifiers);
    model->record(held);
    EXPECT_EQ(shown().chord, held);
    EXPECT_FALSE(model->recorderRow().isLive);
    EXPECT_THAT(model->chordNote()->text, ::testing::HasSubstr("so Quillbern could not register it"));

    model->weakKey();
    EXPECT_THAT(model->chordNote()->text, ::testing::StartsWith("A shortcut needs at least two modifier keys"));
    model->unusableKey("Num Lock");
    EXPECT_THAT(model->chordNote()->text, ::testing::StartsWith("Num Lock can't be part of a shortcut"));
    model->resetChord();
    EXPECT_FALSE(pinned().findProfile(id)->chord);
    EXPECT_FALSE(model->chordNote());
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{18, kCtrlSuper}));
    EXPECT_TRUE(model->recorderRow().isLive);
}

TEST_F(ProfileDetailModelTest, TheRegistrationIsReadOnAppearingAndAfterTheOrderOrTheSwitchChanged) {
    std::vector<Profile> three = docks(3);
    open(three);
    EXPECT_EQ(registrationReads, 0);
    EXPECT_FALSE(model->recorderRow().isLive) << "nothing read yet";
    model->appeared();
    EXPECT_EQ(registrationReads, 1);

    pinned().renameProfile(three[0].id, "Renamed");
    w.world.runUntilIdle();
    EXPECT_EQ(registrationReads, 1) << "an edit that keeps the order reads nothing";

    pinned().moveProfile(three[2].id, three[0].id);
    w.world.runUntilIdle();
    EXPECT_EQ(registrationReads, 2);
    EXPECT_EQ(model->resolvedChord(), (HotKeyChord{19, kCtrlSuper}));
    EXPECT_TRUE(model->recorderRow().isLive) << "read once the shortcuts were registered anew";

    preferences().setHotkeysEnabled(false);
    w.world.runUntilIdle();
    EXPECT_EQ(registrationReads, 3);
    EXPECT_FALSE(model->recorderRow().isLive);
}

TEST_F(ProfileDetailModelTest, DisplaysAreListedOncePerIdentityAndAChoiceStoresTheEntry) {
    std::vector<Profile> one = docks(1);
    open(one);
    w.world.screens.setScreens({screen(1, "10-20-30", "Left Monitor"), screen(std::nullopt, "99-99-99", "No id"),
                                screen(2, "40-50-60", "Twin"), screen(3, "40-50-60", "Twin")});
    const std::vector<DisplayEntry> expected{
        {"all", "All displays"}, {"10-20-30", "Left Monitor"}, {"40-50-60", "Twin (2 identical displays)"}};
    EXPECT_EQ(model->displayEntries(), expected);
    EXPECT_EQ(model->selectedDisplayTag(), "all");

    model->chooseDisplay("40-50-60");
    EXPECT_EQ(shown().display, DisplayAssignment::display("40-50-60", "Twin (2 identical displays)"));
    model->chooseDisplay("10-20-30");
    EXPECT_EQ(model->selectedDisplayTag(), "10-20-30");

    const std::int64_t tick = model->screenTick();
    w.world.screens.setScreens({screen(2, "40-50-60", "Twin")});
    w.world.screens.fireChanged();
    EXPECT_EQ(model->screenTick(), tick + 1);
    const std::vector<DisplayEntry> unplugged{
        {"all", "All displays"}, {"40-50-60", "Twin"}, {"10-20-30", "Left Monitor — disconnected"}};
    EXPECT_EQ(model->displayEntries(), unplugged);
    model->chooseDisplay("10-20-30");
    EXPECT_EQ(shown().display, DisplayAssignment::display("10-20-30", "Left Monitor"))
        << "choosing it again changes nothing";
    model->chooseDisplay("all");
    EXPECT_TRUE(shown().display.isAll());
}

TEST_F(ProfileDetailModelTest, TextsFollowTheDocksEdgeStateAndReveal) {
    std::vector<Profile> one = docks(1);
    one[0].name = "Work";
    open(one);
    const auto helps = [](const std::vector<PickerSegment>& segments) {
        std::vector<std::string> all;
        for (const PickerSegment& segment : segments)
            all.push_back(segment.help);
        return all;
    };
    EXPECT_EQ(helps(ProfileDetailModel::positionSegments(DockEdge::left)),
              (std::vector<std::string>{"Top", "Middle", "Bottom"}));
    EXPECT_EQ(helps(ProfileDetailModel::positionSegments(DockEdge::top)),
              (std::vector<std::string>{"Left", "Centred", "Right"}));
    EXPECT_EQ(model->edgeName(), "Dock edge for “Work”");
    EXPECT_EQ(model->enableName(), "Enable the “Work” dock");
    EXPECT_THAT(model->enableHelp(), ::testing::StartsWith("Disable this dock"));
    pinned().setEnabled(model->profileID(), false);
    EXPECT_EQ(model->enableHelp(), "Enable this dock");
    EXPECT_THAT(model->revealCaption(), ::testing::StartsWith("The dock returns"));
    pinned().setRevealMode(model->profileID(), RevealMode::knock);
    EXPECT_THAT(model->revealCaption(), ::testing::StartsWith("Knock:"));
    EXPECT_EQ(model->automationURL(), "quillbern://profiles/" + one[0].id.text() + "/toggle");
}

TEST_F(ProfileDetailModelTest, TheScanIsAppliedOnTheMainLoopUnlessThePaneWentAway) {
    open(docks(2));
    w.world.catalog.install("/apps/editor.app", AppInfo{"org.example.Editor", std::nullopt, std::nullopt, "Editor"});
    model->appeared();
    EXPECT_FALSE(model->hasScanned());
    w.world.threads.runBackgroundJobs();
    EXPECT_FALSE(model->hasScanned()) << "applied on the main loop";
    w.world.runUntilIdle();
    EXPECT_TRUE(model->hasScanned());
    EXPECT_EQ(model->installed(), (std::vector<InstalledApp>{{"org.example.Editor", "Editor", "/apps/editor.app"}}));

    // An application installed since is found once the editor shows another dock.
    w.world.catalog.install("/apps/viewer.app", AppInfo{"org.example.Viewer", std::nullopt, std::nullopt, "Viewer"});
    model->setProfileID(pinned().profiles().at(1).id);
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    EXPECT_EQ(model->installed().size(), 2u);

    // Gone from the screen, or gone altogether, before the answer.
    model->appeared();
    model->disappeared();
    w.world.catalog.uninstall("/apps/editor.app");
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    EXPECT_EQ(model->installed().size(), 2u);
    model->appeared();
    model.reset();
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
}

TEST_F(ProfileDetailModelTest, RequestsWhileAScanRunsStartNoOtherAndEachGetsItsList) {
    w.world.catalog.install("/apps/editor.app", AppInfo{"org.example.Editor", std::nullopt, std::nullopt, "Editor"});
    const auto scans = [this] { return std::ranges::count(w.world.threads.backgroundJobs(), "quillbern.scan"); };
    // The launch starts the search's scan, held here as a stalled mount holds it.
    open(docks(2));
    ASSERT_EQ(scans(), 1);
    // The editor opened twice, then for another dock, and the search a minute later.
    model->appeared();
    model->appeared();
    const auto other = makeModel(pinned().profiles().at(1).id);
    other->appeared();
    w.world.advance(60);
    w.shell->appSearch()->show();
    EXPECT_EQ(scans(), 1);

    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    const std::vector<InstalledApp> listed = w.shell->installedApps()->scan();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(model->installed(), listed);
    EXPECT_EQ(other->installed(), listed);
    AppSearchState& search = *w.shell->appSearch()->state();
    search.setQuery("Edit");
    EXPECT_EQ(search.results(), listed);
}

class ItemRowsModelTest : public ProfileDetailModelTest {
protected:
    std::vector<std::string> order() {
        std::vector<std::string> ids;
        for (const PinnedItem& item : pinned().profiles().front().items)
            ids.push_back(item.id());
        return ids;
    }
};

TEST_F(ItemRowsModelTest, EachKindHasItsRowAndAnOlderFolderNone) {
    const PinnedLocation projects{Uuid::parse("11111111-2222-3333-4444-555555555555").value(), "Projects",
                                  "/home/ann/Projects"};
    const PinnedTrash trash{Uuid::parse("66666666-2222-3333-4444-555555555555").value()};
    const std::vector<PinnedItem> items{
        PinnedApp{"org.example.Editor", "Editor", std::nullopt},
        PinnedFolder{Uuid::parse("77777777-2222-3333-4444-555555555555").value(), "Old", {}}, projects, trash};
    const std::vector<ItemRowData> rows = ItemRowsModel::rowsOf(items, "/home/ann");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].title, "Editor");
    EXPECT_EQ(rows[0].itemID, "app:org.example.Editor");
    EXPECT_EQ(rows[1].kind, ItemRowData::Kind::location);
    EXPECT_EQ(rows[1].subtitle, "~/Projects");
    EXPECT_EQ(rows[1].path, "/home/ann/Projects");
    EXPECT_EQ(rows[2].title, "Trash");

    EXPECT_EQ(abbreviatingHome("/home/ann", "/home/ann/"), "~");
    EXPECT_EQ(abbreviatingHome("/home/anne/Music", "/home/ann"), "/home/anne/Music") << "not at a boundary";
    EXPECT_EQ(abbreviatingHome("/srv/ann", ""), "/srv/ann");
}

TEST_F(ItemRowsModelTest, ADragOfThisDocksItemReordersAsItEntersRowsAndADropEndsIt) {
    std::vector<Profile> two = docks(2);
    two[0].items = {PinnedApp{"p", "P", std::nullopt}, PinnedApp{"q", "Q", std::nullopt},
                    PinnedApp{"r", "R", std::nullopt}};
    open(two);
    ItemRowsModel items(pinned(), "/home/ann", two[0].id);

    items.dragStarted("app:p");
    items.dragEntered("app:q", true);
    EXPECT_EQ(order(), (std::vector<std::string>{"app:q", "app:p", "app:r"}));
    items.dragEntered("app:r", false);
    EXPECT_EQ(order(), (std::vector<std::string>{"app:q", "app:p", "app:r"})) << "another drag type moves nothing";
    items.dragEntered("app:r", true);
    EXPECT_EQ(order(), (std::vector<std::string>{"app:q", "app:r", "app:p"}));
    items.dragEntered("app:p", true);
    EXPECT_EQ(order(), (std::vector<std::string>{"app:q", "app:r", "app:p"})) << "its own row changes nothing";
    EXPECT_TRUE(items.dropped(true));
    EXPECT_FALSE(pinned().dragSession());

    // A drag of the other dock's item is refused here, and its drop still ends it.
    pinned().setDragSession(DragSession{"app:q", two[1].id});
    EXPECT_FALSE(items.acceptsDrop(true));
    items.dragEntered("app:r", true);
    EXPECT_EQ(order(), (std::vector<std::string>{"app:q", "app:r", "app:p"}));
    EXPECT_FALSE(items.dropped(true));
    EXPECT_FALSE(pinned().dragSession());

    items.remove(items.rows().front());
    EXPECT_EQ(order(), (std::vector<std::string>{"app:r", "app:p"}));
    EXPECT_TRUE(pinned().undoableRemoval());
}

// Renames as the store does: trimmed, and an empty name refused.
struct Names {
    std::map<Uuid, std::string> byDock;
    std::vector<std::pair<Uuid, std::string>> commits;
    CommitDraft draft() {
        return CommitDraft(
            [this](const Uuid& owner, const std::string& text) {
                commits.emplace_back(owner, text);
                if (!text.empty()) byDock[owner] = text;
            },
            [this](const Uuid& owner) { return byDock[owner]; });
    }
};

TEST(CommitDraft, CommitsOnReturnAndOnLeavingAlwaysToTheDockItWasTypedFor) {
    const Uuid one = Uuid::parse("11111111-0000-0000-0000-000000000000").value();
    const Uuid two = Uuid::parse("22222222-0000-0000-0000-000000000000").value();
    Names names{{{one, "One"}, {two, "Two"}}, {}};
    CommitDraft field = names.draft();
    field.show(one);
    EXPECT_EQ(field.draft(), "One");

    field.setFocused(true);
    field.edit("Uno");
    names.byDock[one] = "Changed elsewhere";
    field.ownerChanged();
    EXPECT_EQ(field.draft(), "Uno") << "typing is never overwritten";
    field.submit();
    field.setFocused(false);
    EXPECT_EQ(names.commits, (std::vector<std::pair<Uuid, std::string>>{{one, "Uno"}, {one, "Uno"}}));

    // Typed for one, then the other dock is shown: the name goes to the first.
    names.commits.clear();
    field.setFocused(true);
    field.edit("First");
    field.show(two);
    EXPECT_EQ(names.commits, (std::vector<std::pair<Uuid, std::string>>{{one, "First"}}));
    EXPECT_EQ(names.byDock[two], "Two");
    EXPECT_EQ(field.draft(), "Two");
    field.setFocused(false);
    EXPECT_EQ(names.byDock[two], "Two");

    // A refused empty name leaves the field showing the name the dock kept.
    field.setFocused(true);
    field.edit("");
    field.setFocused(false);
    EXPECT_EQ(names.commits.back(), (std::pair<Uuid, std::string>{two, ""}));
    EXPECT_EQ(field.draft(), "Two");
}

}  // namespace
}  // namespace quillbern
