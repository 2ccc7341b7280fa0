#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/GeneralPaneModel.h"
#include "settings/SettingsTest.h"
#include "ui/settings/SettingsPanes.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;

class GeneralPaneModelTest : public testing::SettingsTest {
protected:
    void launch() {
        SettingsTest::launch();
        model = std::make_unique<GeneralPaneModel>(generalPaneInputs(services()).general);
    }

    std::unique_ptr<GeneralPaneModel> model;
};

TEST(GeneralPaneCaptions, EachDelayHasItsCaptionWithTheThresholdsOnTheLaterSide) {
    const auto kind = [](double delay) { return GeneralPaneModel::revealDelayCaption(delay).substr(0, 5); };
    EXPECT_EQ(kind(0.24), "Quick");
    EXPECT_EQ(kind(0.2999), "Quick");
    EXPECT_EQ(kind(0.3), "Balan");
    EXPECT_EQ(kind(0.36), "Balan");
    EXPECT_EQ(kind(0.48), "Balan");
    EXPECT_EQ(kind(0.5399), "Balan");
    EXPECT_EQ(kind(0.54), "Delib");
    EXPECT_EQ(kind(0.6), "Delib");
    EXPECT_EQ(kind(0.72), "Delib");
    // Linux desktops have top panels, not a menu bar.
    for (const double delay : {0.24, 0.36, 0.6}) {
        EXPECT_THAT(GeneralPaneModel::revealDelayCaption(delay),
                    ::testing::AllOf(::testing::HasSubstr("top panel"), ::testing::Not(::testing::HasSubstr("menu"))));
    }
}

TEST_F(GeneralPaneModelTest, TheDelaySliderStoresEachStepExactlyAndReadsItBack) {
    launch();
    EXPECT_EQ(model->revealDelayPosition(), 1);
    EXPECT_EQ(model->revealDelayText(), "0.36 sec");
    const std::vector<std::string> stored{"0.24", "0.36", "0.48", "0.6", "0.72"};
    for (int position = 0; position <= GeneralPaneModel::revealDelayScale().last; ++position) {
        model->setRevealDelayPosition(position);
        EXPECT_EQ(w.world.defaults.value("dockRevealDelay")->dump(), stored[static_cast<std::size_t>(position)]);
        EXPECT_EQ(model->revealDelayPosition(), position);
    }
    EXPECT_EQ(model->revealDelayText(), "0.72 sec");
    preferences().setRevealDelay(0.5);
    EXPECT_EQ(model->revealDelayPosition(), 2) << "a value off the steps sits at the nearest";
    EXPECT_EQ(model->revealDelayText(), "0.50 sec");
}

TEST_F(GeneralPaneModelTest, AutoHideIsStoredBeforeTheShortcutsAreRegisteredOnce) {
    launch();
    std::vector<bool> seen;
    SettingsServices told = services();
    told.onHotkeysToggled = [&] { seen.push_back(preferences().autoHide()); };
    model = std::make_unique<GeneralPaneModel>(generalPaneInputs(told).general);
    model->setAutoHide(false);
    EXPECT_THAT(seen, ElementsAre(false));
    EXPECT_EQ(w.world.defaults.boolValue("dockAutoHide"), false);
    model->setAutoHide(true);
    EXPECT_THAT(seen, ElementsAre(false, true));
}

TEST_F(GeneralPaneModelTest, LoginNotesFollowTheStatusTheFormerNameAndTheLastError) {
    w.world.defaults.set(GeneralPaneModel::kAdoptedLegacyDefaultsKey, true);
    launch();
    struct Case {
        LoginStatus status;
        bool switchOn, approval, renamed;
    };
    for (const Case c :
         {Case{LoginStatus::enabled, true, false, false}, Case{LoginStatus::requiresApproval, false, true, true},
          Case{LoginStatus::notRegistered, false, false, true}, Case{LoginStatus::notFound, false, false, true}}) {
        w.world.login.setStatus(c.status);
        w.shell->loginItem().refresh();
        const auto notes = model->loginNotes();
        EXPECT_EQ(model->opensAtLogin(), c.switchOn);
        EXPECT_EQ(notes.approval.has_value(), c.approval);
        EXPECT_EQ(notes.renamed.has_value(), c.renamed);
        EXPECT_FALSE(notes.error);
    }
    EXPECT_EQ(model->loginNotes().renamed->style, SettingsNoteStyle::info);
    w.world.defaults.set(GeneralPaneModel::kAdoptedLegacyDefaultsKey, false);
    EXPECT_FALSE(model->loginNotes().renamed) << "the flag is read each time";

    // A refused registration: its message, and the desktop's page only where there is one.
    w.world.login.scriptRegister({Error{"The autostart folder is read-only", "posix", 30}, LoginStatus::notRegistered});
    model->setOpensAtLogin(true);
    auto notes = model->loginNotes();
    ASSERT_TRUE(notes.error);
    EXPECT_EQ(notes.error->style, SettingsNoteStyle::error);
    EXPECT_EQ(notes.error->text, *w.shell->loginItem().lastError());
    EXPECT_TRUE(notes.offersSettings);
    w.world.launcher.setOpensPages(false);
    EXPECT_FALSE(model->loginNotes().offersSettings);
    w.world.launcher.setOpensPages(true);
    model->openLoginSettings();
    EXPECT_THAT(w.world.launcher.openedPages(), ::testing::Contains(SystemSettingsPage::loginItems));
}

TEST_F(GeneralPaneModelTest, TheLanguageChoiceStoresItsCodeAndOffersARelaunchAwayFromTheLaunchLanguage) {
    w.world.defaults.set("quillbernLanguage", "fr");
    launch();
    EXPECT_EQ(model->languageSelection(), "fr");
    EXPECT_FALSE(model->offersRelaunch());
    model->chooseLanguage("de");
    EXPECT_EQ(w.world.defaults.stringValue("quillbernLanguage"), "de");
    EXPECT_TRUE(model->offersRelaunch());
    model->chooseLanguage("fr");
    EXPECT_FALSE(model->offersRelaunch());
    model->chooseLanguage(GeneralPaneModel::kSystemLanguage);
    EXPECT_EQ(model->languageSelection(), "system");
    EXPECT_FALSE(w.world.defaults.value("quillbernLanguage"));
    EXPECT_FALSE(w.world.defaults.value("AppleLanguages"));
    EXPECT_TRUE(model->offersRelaunch()) << "launched with an override, the system's language differs";
    ASSERT_EQ(kInterfaceLanguages.size(), 6u);
    EXPECT_EQ(kInterfaceLanguages[2].label, "Deutsch");
}

TEST_F(GeneralPaneModelTest, ARelaunchThatCannotStartIsShownAndQuillbernKeepsRunning) {
    launch();
    model->chooseLanguage("de");
    int notes = 0;
    const Subscription counted = model->changed.connect([&] { ++notes; });
    w.world.processes.script("/usr/bin/quillbern", {Error{"No such file or directory", "posix", 2}});
    model->relaunch();
    EXPECT_EQ(w.process.quitCount(), 0);
    ASSERT_TRUE(model->relaunchNote());
    EXPECT_EQ(model->relaunchNote()->style, SettingsNoteStyle::error);
    EXPECT_NE(model->relaunchNote()->text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(notes, 1);

    w.world.processes.script("/usr/bin/quillbern", {});
    model->relaunch();
    EXPECT_EQ(w.process.quitCount(), 1);
    EXPECT_FALSE(model->relaunchNote());
    ASSERT_FALSE(w.world.processes.spawned().empty());
}

TEST_F(GeneralPaneModelTest, WithoutAnUpdaterNothingCanBeCheckedOrSwitched) {
    w.hasUpdater = false;
    launch();
    EXPECT_FALSE(model->hasUpdater());
    EXPECT_FALSE(model->checksAutomatically());
    EXPECT_FALSE(model->canCheckForUpdates());
    EXPECT_FALSE(model->lastCheckText());
    model->setChecksAutomatically(true);
    model->checkForUpdates();
    EXPECT_FALSE(model->checksAutomatically());
    EXPECT_NE(model->updatesCaption().find("package manager"), std::string::npos);
}

TEST_F(GeneralPaneModelTest, AnUpdaterIsSwitchedCheckedAndTellsItsLastCheck) {
    launch();
    EXPECT_TRUE(model->hasUpdater());
    EXPECT_FALSE(model->lastCheckText()) << "before the first check";
    model->setChecksAutomatically(true);
    EXPECT_TRUE(w.updater.checksAutomatically());
    w.updater.setCanCheck(true);
    EXPECT_TRUE(model->canCheckForUpdates());
    model->checkForUpdates();
    EXPECT_EQ(w.updater.checks(), 1);
    w.updater.setLastCheck(WallTime{1'800'000'000});
    EXPECT_EQ(model->lastCheckText(), "Last checked: 2027-01-15 08:00");
}

TEST_F(GeneralPaneModelTest, TheDesktopDockNoteIsTheSuppressorsReason) {
    w.world.nativeDock.setSupported(false);
    launch();
    int changes = 0;
    const Subscription counted = model->changed.connect([&] { ++changes; });
    EXPECT_FALSE(model->desktopDockNote());
    model->setHidesDesktopDock(true);
    EXPECT_FALSE(model->hidesDesktopDock());
    ASSERT_TRUE(model->desktopDockNote());
    EXPECT_EQ(model->desktopDockNote()->text, *w.shell->suppressor().lastError());
    EXPECT_EQ(changes, 1) << "the refusal is told";
}

TEST_F(GeneralPaneModelTest, TheBehaviourControlsWriteTheirSettingsAndAChangeFromElsewhereIsTold) {
    launch();
    int changes = 0;
    const Subscription counted = model->changed.connect([&] { ++changes; });
    model->setLaunchBeacon(false);
    model->setKnockTempo(DockPreferences::KnockTempo::relaxed);
    model->setWorkspaceLimit(3);
    EXPECT_EQ(w.world.defaults.boolValue("dockLaunchBeacon"), false);
    EXPECT_EQ(preferences().knockTempo(), DockPreferences::KnockTempo::relaxed);
    EXPECT_EQ(preferences().workspaceMaxApps(), 3);
    EXPECT_EQ(changes, 3);
    w.world.login.setStatus(LoginStatus::enabled);
    w.shell->loginItem().refresh();
    EXPECT_TRUE(model->opensAtLogin());
    EXPECT_EQ(changes, 4) << "the login item's status read again";
}

}  // namespace
}  // namespace quillbern
