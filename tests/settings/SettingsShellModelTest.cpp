#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/SettingsShellModel.h"
#include "settings/SettingsTest.h"

namespace quillbern {
namespace {

class SettingsShellModelTest : public testing::SettingsTest {
protected:
    SettingsShellModelTest() {
        launch();
        model = std::make_unique<SettingsShellModel>(services());
        changes = model->sectionChanged.connect([this] { ++sectionChanges; });
    }
    // The refreshes since the log was last cleared: the login item's status read again,
    // then the capture grant.
    int refreshes() const {
        EXPECT_EQ(w.log.count("login.status"), w.log.count("permissions.isCaptureAllowed"));
        return w.log.count("login.status");
    }

    std::unique_ptr<SettingsShellModel> model;
    int sectionChanges = 0;
    Subscription changes;
};

TEST(SettingsSections, TheSidebarListsEightSectionsKnownByTheirExactNames) {
    std::vector<std::string_view> names;
    std::vector<std::string_view> titles;
    for (const SettingsSectionInfo& info : settingsSections()) {
        names.push_back(info.rawValue);
        titles.push_back(info.title);
        EXPECT_EQ(settingsSectionNamed(info.rawValue), info.section);
        EXPECT_EQ(&infoOf(info.section), &info);
    }
    EXPECT_THAT(names, ::testing::ElementsAre("general", "docks", "appearance", "previews", "permissions", "support",
                                              "help", "about"));
    EXPECT_THAT(titles, ::testing::ElementsAre("General", "Docks", "Appearance", "Hover previews", "Permissions",
                                               "Support", "Help", "About"));
    EXPECT_EQ(settingsSectionNamed("Help"), std::nullopt);
    EXPECT_EQ(settingsSectionNamed("help "), std::nullopt);
    EXPECT_EQ(settingsSectionNamed(""), std::nullopt);
}

TEST_F(SettingsShellModelTest, OneSectionIsAlwaysSelectedStartingWithGeneral) {
    EXPECT_EQ(model->section(), SettingsSection::general);
    model->select(SettingsSection::docks);
    EXPECT_EQ(model->section(), SettingsSection::docks);
    EXPECT_EQ(sectionChanges, 1);
    model->select(std::nullopt);
    model->select(SettingsSection::docks);
    EXPECT_EQ(model->section(), SettingsSection::docks) << "a request to select nothing keeps the section";
    EXPECT_EQ(sectionChanges, 1) << "nothing to rebuild";
}

TEST_F(SettingsShellModelTest, TheHelpCommandOpensSettingsAndSelectsHelpOnce) {
    model->select(SettingsSection::appearance);
    w.log.clear();
    w.shell->openHelp();
    EXPECT_TRUE(w.log.hasInOrder({"settings.open", "settings.showHelp"}));
    EXPECT_EQ(model->section(), SettingsSection::help);
    EXPECT_EQ(sectionChanges, 2);
    w.shell->openHelp();
    EXPECT_EQ(model->section(), SettingsSection::help);
    EXPECT_EQ(sectionChanges, 2) << "Help already shown: no rebuild";
}

TEST_F(SettingsShellModelTest, WhileOnScreenTheLoginItemThenTheGrantAreReadAgainEverySecond) {
    w.log.clear();
    w.advance(3);
    EXPECT_EQ(refreshes(), 0) << "nothing before the window shows";

    model->appeared();
    EXPECT_TRUE(w.log.hasInOrder({"login.status", "permissions.isCaptureAllowed"}));
    EXPECT_EQ(refreshes(), 1) << "one at once";
    model->appeared();
    EXPECT_EQ(refreshes(), 1) << "a second notice of the same showing changes nothing";
    w.log.clear();
    w.world.defaults.resetWriteCounts();
    w.advance(0.99);
    EXPECT_EQ(refreshes(), 0);
    w.advance(0.01);
    EXPECT_EQ(refreshes(), 1);
    w.advance(3);
    EXPECT_EQ(refreshes(), 4);
    EXPECT_EQ(w.world.defaults.totalWrites(), 0) << "refreshes that find nothing new store nothing";

    // The login item turned on in the desktop's settings shows within the second.
    w.world.login.setStatus(LoginStatus::enabled);
    w.advance(1);
    EXPECT_EQ(w.shell->loginItem().status(), LoginStatus::enabled);

    model->disappeared();
    w.log.clear();
    w.advance(5);
    EXPECT_EQ(refreshes(), 0) << "none after hiding";
    model->appeared();
    EXPECT_EQ(refreshes(), 1) << "one at once on showing again";
    w.advance(1);
    EXPECT_EQ(refreshes(), 2);
}

TEST_F(SettingsShellModelTest, SettingsHoldsTheShellWeakly) {
    const SettingsServices held = services();
    EXPECT_FALSE(held.registeredChords().empty());
    EXPECT_EQ(held.registeredChords(), w.shell->registeredChords());
    w.terminate();
    w.shell.reset();
    held.onHotkeysToggled();
    EXPECT_TRUE(held.registeredChords().empty()) << "the shell is gone";
}

TEST(NotificationBus, TellsTheObserversOfANameInOrderUntilTheyStop) {
    NotificationBus bus;
    std::vector<std::string> told;
    Subscription first = bus.observe("a", [&told] { told.push_back("first"); });
    Subscription second = bus.observe("a", [&told] { told.push_back("second"); });
    Subscription other = bus.observe("b", [&told] { told.push_back("other"); });
    bus.post("a");
    bus.post("nobody listens");
    EXPECT_THAT(told, ::testing::ElementsAre("first", "second"));
    first.reset();
    bus.post("a");
    EXPECT_THAT(told, ::testing::ElementsAre("first", "second", "second"));
}

}  // namespace
}  // namespace quillbern
