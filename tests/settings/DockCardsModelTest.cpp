// The apps and automation cards of the dock editor, on the simulated program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/AppsCardModel.h"
#include "core/settings/AutomationCardModel.h"
#include "settings/SettingsTest.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> names(const std::vector<InstalledApp>& apps) {
    std::vector<std::string> out;
    for (const InstalledApp& app : apps)
        out.push_back(app.name);
    return out;
}

class AppsCardTest : public testing::SettingsTest {
protected:
    AppsCardTest() {
        for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{{"a1", "Alpha"},
                                                                                       {"a2", "Alpine Maps"},
                                                                                       {"a3", "Amp"},
                                                                                       {"a4", "Calendar"},
                                                                                       {"a5", "Camera"},
                                                                                       {"a6", "Canvas"},
                                                                                       {"a7", "Clamp"},
                                                                                       {"a8", "Damask"},
                                                                                       {"a9", "Gamma"},
                                                                                       {"b1", "Llama"},
                                                                                       {"b2", "Mail"},
                                                                                       {"b3", "Text Editor"},
                                                                                       {"b4", "Ambient"},
                                                                                       {"b5", "Dreamer"},
                                                                                       {"b6", "Hamlet"}})
            w.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, name});
        launch();
        dock = pinned().profiles().front().id;
        model = std::make_unique<AppsCardModel>(appsCardPorts(), dock);
        changes = model->changed.connect([this] { ++changeCount; });
    }
    // The pane's scan answers.
    void scan() { model->setInstalled(w.shell->installedApps()->scan()); }
    const Profile& profile() const { return *pinned().findProfile(dock); }
    std::vector<std::string> itemIDs() const {
        std::vector<std::string> ids;
        for (const PinnedItem& item : profile().items)
            ids.push_back(item.id());
        return ids;
    }
    std::vector<std::string> locationPaths() const {
        std::vector<std::string> paths;
        for (const PinnedItem& item : profile().items)
            if (const PinnedLocation* location = item.location()) paths.push_back(location->path);
        return paths;
    }

    Uuid dock;
    std::unique_ptr<AppsCardModel> model;
    int changeCount = 0;
    Subscription changes;
};

TEST_F(AppsCardTest, ResultsWaitForTheScanThenFilterByNameCappedAtEight) {
    model->setSearchText("am");
    EXPECT_EQ(model->statusLine(), "Reading your applications…");
    EXPECT_THAT(model->results(), IsEmpty()) << "whatever is typed before the scan answers";

    scan();
    EXPECT_TRUE(model->hasScanned());
    model->setSearchText("");
    EXPECT_EQ(model->statusLine(), std::nullopt) << "empty search: no status line";
    EXPECT_THAT(model->results(), IsEmpty());

    model->setSearchText("AM");
    EXPECT_THAT(names(model->results()),
                ElementsAre("Ambient", "Amp", "Camera", "Clamp", "Damask", "Dreamer", "Gamma", "Hamlet"))
        << "nine names hold it; the first eight in name order";
    model->setSearchText(" ");
    EXPECT_THAT(names(model->results()), ElementsAre("Alpine Maps", "Text Editor")) << "a space is a real query";
    model->setSearchText("Zq ");
    EXPECT_EQ(model->statusLine(), "No apps match “Zq ”");
    model->setSearchText("cal.a4");
    EXPECT_THAT(model->results(), IsEmpty()) << "only names are searched";
}

TEST_F(AppsCardTest, PinAndReturnAppendWhatTheDockDoesNotHoldYet) {
    scan();
    model->setSearchText("Ca");
    ASSERT_THAT(names(model->results()), ElementsAre("Calendar", "Camera", "Canvas"));
    const std::vector<std::string> before = itemIDs();
    model->pin(model->results()[0]);
    EXPECT_TRUE(model->isPinned(model->results()[0]));
    EXPECT_EQ(itemIDs().back(), "app:a4") << "at the end of the dock";
    EXPECT_EQ(w.shell->pinned().undoableRemoval(), std::nullopt) << "no undo entry";
    model->pin(model->results()[0]);
    EXPECT_EQ(itemIDs().size(), before.size() + 1) << "pinned once";

    model->submit();
    EXPECT_EQ(itemIDs().back(), "app:a5") << "Return passes over the pinned first result";
    model->submit();
    model->submit();
    model->submit();
    EXPECT_EQ(itemIDs().size(), before.size() + 3) << "every result pinned: Return does nothing";
    EXPECT_EQ(model->searchText(), "Ca") << "the search stays";

    // Beside another dock, this one goes: Return pins nothing anywhere.
    ASSERT_TRUE(pinned().addProfile("Work"));
    const Profile other = pinned().profiles().back();
    pinned().deleteOrResetProfile(dock);
    ASSERT_EQ(pinned().findProfile(dock), nullptr);
    model->setSearchText("Mail");
    model->submit();
    ASSERT_EQ(pinned().profiles().size(), 1u);
    EXPECT_EQ(pinned().profiles().front(), other);
}

TEST_F(AppsCardTest, TheTrashButtonFollowsTheDocksTrashTile) {
    EXPECT_TRUE(model->canAddTrash());
    model->addTrash();
    EXPECT_FALSE(model->canAddTrash());
    model->addTrash();
    const auto trashTiles =
        std::ranges::count_if(profile().items, [](const PinnedItem& item) { return item.trash() != nullptr; });
    EXPECT_EQ(trashTiles, 1);
    const Uuid trashID = profile().items.back().trash()->id;
    w.shell->pinned().unpinTrash(trashID, dock);
    EXPECT_TRUE(model->canAddTrash()) << "removed in the item rows: offered again";
}

TEST_F(AppsCardTest, ChosenFoldersArePinnedInOrderAndThoseThatCouldNotBeAreNamed) {
    w.world.files.setUserDirectory(UserDirectory::downloads, "/home/ann/Downloads");
    for (const char* path : {"/home/ann/Downloads", "/home/ann/Music", "/home/ann/Papers", "/home/ann/Work"})
        w.world.files.addDirectory(path);
    w.world.files.addFile("/home/ann/notes.txt");

    model->addFolders();
    ASSERT_TRUE(w.world.folderPicker.isOpen());
    const FolderPickerOptions& options = *w.world.folderPicker.lastOptions();
    EXPECT_EQ(options.startDirectory, "/home/ann/Downloads");
    EXPECT_EQ(options.title, "Choose Folders to Pin");
    EXPECT_EQ(options.prompt, "Pin");
    EXPECT_TRUE(options.allowsMultiple);
    w.world.folderPicker.answer(std::nullopt);
    EXPECT_THAT(locationPaths(), IsEmpty()) << "cancelled: nothing changes";

    model->addFolders();
    w.world.folderPicker.answer(std::vector<Path>{"/home/ann/Work", "/home/ann/Music", "/home/ann/Papers"});
    EXPECT_THAT(locationPaths(), ElementsAre("/home/ann/Work", "/home/ann/Music", "/home/ann/Papers"));
    EXPECT_EQ(model->folderNote(), std::nullopt);

    w.world.files.remove("/home/ann/Papers");
    model->addFolders();
    w.world.folderPicker.answer(
        std::vector<Path>{"/home/ann/Music", "/home/ann/Downloads", "/home/ann/Gone", "/home/ann/notes.txt"});
    EXPECT_THAT(locationPaths(),
                ElementsAre("/home/ann/Work", "/home/ann/Music", "/home/ann/Papers", "/home/ann/Downloads"))
        << "an already pinned one is passed over; the others still pinned";
    EXPECT_EQ(model->folderNote(),
              "“Gone”, “notes.txt” could not be pinned: they are no longer there, are not "
              "folders, or their names are not UTF-8.")
        << "pinned already is no failure";

    // A name Qt could not hand over intact arrives altered; it is named readably.
    model->addFolders();
    w.world.folderPicker.answer(std::vector<Path>{"/home/ann/caf\xe9"});
    EXPECT_EQ(model->folderNote(),
              "“caf\xEF\xBF\xBD” could not be pinned: it is no longer there, is not a folder, or its name is not "
              "UTF-8.");
    model->setProfile(w.shell->pinned().profiles().front().id == dock ? Uuid{} : dock);
    EXPECT_EQ(model->folderNote(), std::nullopt) << "another dock: the note goes";
}

TEST_F(AppsCardTest, IconsAreKeptByPathAndFoundAppIconsByIdentity) {
    scan();
    const ImageHandle first = model->iconForPath("/apps/a1.app");
    ASSERT_TRUE(first);
    const std::size_t asked = w.world.icons.requests().size();
    EXPECT_EQ(model->iconForPath("/apps/a1.app"), first);
    EXPECT_EQ(w.world.icons.requests().size(), asked) << "asked once per path";

    w.world.icons.withoutIcon("/apps/a2.app");
    EXPECT_TRUE(model->iconForPath("/apps/a2.app")) << "a result row always has an image";

    const PinnedApp missing{"not.installed", "Missing", std::nullopt};
    EXPECT_EQ(model->iconForApp(missing), nullptr) << "the row shows its placeholder";
    w.world.catalog.install("/apps/late.app", AppInfo{"not.installed", std::nullopt, std::nullopt, "Missing"});
    EXPECT_NE(model->iconForApp(missing), nullptr) << "a miss is not kept: asked again";
}

class AutomationCardTest : public testing::SettingsTest {
protected:
    SimWorld& world = w.world;
    Uuid dock = *Uuid::parse("0b9d3f4e-1c2a-4d5e-8f70-a1b2c3d4e5f6");
    Uuid other = *Uuid::parse("11111111-2222-4333-8444-555555555555");
    AutomationCardModel model{world.clipboard, world.mainLoop, dock};
};

TEST_F(AutomationCardTest, TheUrlIsCopiedAloneAndConfirmedUntilOneAndAHalfSecondsAfterTheLatestCopy) {
    EXPECT_EQ(model.url(), "quillbern://profiles/0B9D3F4E-1C2A-4D5E-8F70-A1B2C3D4E5F6/toggle");
    world.clipboard.setText("something else");
    model.copy();
    EXPECT_EQ(world.clipboard.text(), "quillbern://profiles/0B9D3F4E-1C2A-4D5E-8F70-A1B2C3D4E5F6/toggle");
    EXPECT_TRUE(model.showsCopied());
    world.advance(1.0);
    model.copy();
    world.advance(0.5);
    EXPECT_TRUE(model.showsCopied()) << "the first copy's end does nothing";
    world.advance(0.99);
    EXPECT_TRUE(model.showsCopied());
    world.advance(0.01);
    EXPECT_FALSE(model.showsCopied());
}

TEST_F(AutomationCardTest, AnotherDockEndsTheConfirmationAtOnce) {
    model.copy();
    world.advance(0.5);
    model.setProfile(other);
    EXPECT_FALSE(model.showsCopied());
    EXPECT_EQ(model.url(), "quillbern://profiles/11111111-2222-4333-8444-555555555555/toggle");
    world.advance(1.0);
    EXPECT_FALSE(model.showsCopied()) << "the old timer finds another generation";
    model.copy();
    world.advance(1.49);
    EXPECT_TRUE(model.showsCopied());
}

}  // namespace
}  // namespace quillbern
