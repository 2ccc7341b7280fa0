#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/shortcuts/HotKeyBindings.h"
#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/ReadoutSlider.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsPanes.h"
#include "ui/settings/SettingsStepper.h"
#include "ui/settings/SettingsSwitch.h"
#include "ui/settings/ShortcutRecorderView.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

constexpr HotKeyAction kOverview{HotKeyAction::Kind::overview};
constexpr HotKeyAction kSearch{HotKeyAction::Kind::search};
constexpr HotKeyAction kFiles{HotKeyAction::Kind::files};
constexpr HotKeyAction kPeek{HotKeyAction::Kind::peekDocks};

void press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(&widget, &up);
}

class GeneralPaneTest : public testing::SettingsTest {
protected:
    void open() {
        launch();
        w.world.defaults.resetWriteCounts();
        pane = std::make_unique<GeneralPane>(generalPaneInputs(services()));
        pane->resize(700, 1400);
        pane->show();
    }

    std::unique_ptr<GeneralPane> pane;
};

TEST_F(GeneralPaneTest, OpeningWritesNothingAndEveryControlIsNamedInReadingOrder) {
    open();
    EXPECT_EQ(w.world.defaults.totalWrites(), 0);
    EXPECT_THAT(testing::accessibilityProblems(*pane), IsEmpty());
    EXPECT_EQ(w.world.defaults.totalWrites(), 0) << "nor does walking it by keyboard";
    EXPECT_EQ(pane->recorder(kSearch).accessibleName(), "Search apps");
    EXPECT_EQ(pane->revealDelay().accessibleName(), "Reveal delay");
    EXPECT_EQ(pane->revealDelay().readout(), "0.36 sec") << "the slider's value as assistive tools read it";
    const auto labels = QAccessible::queryAccessibleInterface(&pane->language())->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Language");
    EXPECT_EQ(pane->language().currentText(), "System");
    EXPECT_EQ(pane->language().itemText(4), "Deutsch") << "language names are never translated";
}

TEST_F(GeneralPaneTest, GroupsComeAndGoWithoutRemakingTheRowsAround) {
    open();
    preferences().setLastAutomationFailure("unrecognised automation URL quillbern://focus/bogus");
    QPointer<QWidget> beacon = &pane->launchBeacon();
    QPointer<QWidget> searchRow = &pane->recorderRow(kSearch);
    testing::showWithKeyboard(*pane);
    pane->launchBeacon().setFocus();
    ASSERT_TRUE(pane->revealGroup().isVisible());
    ASSERT_TRUE(pane->recorderRow(kPeek).isVisible());

    pane->autoHide().click();
    EXPECT_FALSE(preferences().autoHide());
    EXPECT_FALSE(pane->revealGroup().isVisible()) << "delay and tempo rows leave with their captions";
    EXPECT_FALSE(pane->recorderRow(kPeek).isVisible());
    EXPECT_TRUE(beacon && searchRow && pane->launchBeacon().hasFocus()) << "the other rows stay as they are";
    pane->autoHide().click();
    EXPECT_TRUE(pane->revealGroup().isVisible());
    EXPECT_TRUE(pane->recorderRow(kPeek).isVisible());

    pane->globalShortcuts().click();
    EXPECT_FALSE(preferences().hotkeysEnabled());
    EXPECT_FALSE(pane->shortcutRows().isVisible());
    EXPECT_TRUE(pane->automationFailureGroup().isVisible()) << "a failure shows while shortcuts are off";
    pane->dismissFailure().click();
    EXPECT_FALSE(preferences().lastAutomationFailure());
    EXPECT_FALSE(pane->automationFailureGroup().isVisible());
    EXPECT_TRUE(searchRow);
}

TEST_F(GeneralPaneTest, TheDelaySliderWritesAtEachStepAndTheStepperStopsAtItsLimits) {
    open();
    press(pane->revealDelay(), Qt::Key_Right);
    EXPECT_EQ(preferences().revealDelay(), 0.48);
    EXPECT_EQ(pane->revealDelayText().text(), "0.48 sec");
    EXPECT_THAT(pane->revealDelayCaption().text().toStdString(), ::testing::StartsWith("Balanced"));
    press(pane->revealDelay(), Qt::Key_Right);
    EXPECT_EQ(w.world.defaults.value("dockRevealDelay")->dump(), "0.6");
    EXPECT_THAT(pane->revealDelayCaption().text().toStdString(), ::testing::StartsWith("Deliberate"));
    EXPECT_EQ(w.world.defaults.writeCount("dockRevealDelay"), 2);
    preferences().setRevealDelay(0.24);
    EXPECT_EQ(pane->revealDelay().value(), 0) << "follows the store";
    EXPECT_EQ(w.world.defaults.writeCount("dockRevealDelay"), 3) << "and never writes back";

    SettingsStepper& limit = pane->workspaceLimit();
    EXPECT_EQ(limit.value(), 6);
    limit.setValue(10);
    limit.stepUp();
    EXPECT_EQ(preferences().workspaceMaxApps(), 10);
    limit.setValue(2);
    limit.stepDown();
    EXPECT_EQ(preferences().workspaceMaxApps(), 2);

    pane->knockTempo().segment(0).click();
    EXPECT_EQ(preferences().knockTempo(), DockPreferences::KnockTempo::brisk);
}

TEST_F(GeneralPaneTest, AChordAnotherApplicationHoldsIsStruckThroughUntilAnotherIsRecorded) {
    w.world.hotKeys.takeByOtherApplication(1, HotKeyChord::kControlCommand);
    open();
    ShortcutRecorderView& search = pane->recorder(kSearch);
    EXPECT_TRUE(search.recorder().showsStruckThrough());
    EXPECT_FALSE(pane->recorder(kFiles).recorder().showsStruckThrough());
    EXPECT_TRUE(pane->struckThroughCaption().isVisible());
    EXPECT_THAT(search.accessibleDescription().toStdString(), ::testing::HasSubstr("could not be registered"));

    // By keyboard: Space starts listening, the next chord is recorded.
    search.setFocus();
    press(search, Qt::Key_Space);
    ASSERT_TRUE(search.recorder().isListening());
    press(search, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    EXPECT_FALSE(search.recorder().isListening());
    EXPECT_TRUE(preferences().hotkeyOverrides().contains(kSearch));
    EXPECT_FALSE(search.recorder().showsStruckThrough());
    EXPECT_FALSE(pane->struckThroughCaption().isVisible());
    EXPECT_TRUE(search.resetButton().isVisible()) << "the way back to the default";

    // A refusal shows its note in the card.
    search.recorder().click();
    press(search, Qt::Key_O, Qt::ControlModifier | Qt::MetaModifier);
    EXPECT_TRUE(pane->chordNote().isVisible());
    EXPECT_THAT(pane->chordNote().text().toStdString(), ::testing::HasSubstr("“Open a file”"));
    search.resetButton().click();
    EXPECT_FALSE(preferences().hotkeyOverrides().contains(kSearch));
    EXPECT_FALSE(pane->chordNote().isVisible());
}

TEST_F(GeneralPaneTest, ARefusedKeysNoteStandsUnderItsRecorderAndInSight) {
    open();
    pane->resize(700, 500);
    auto* page = pane->findChild<QScrollArea*>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The first recorder at the foot of the page, the others below the fold.
    page->ensureWidgetVisible(&pane->recorderRow(kOverview), 0, 0);
    ShortcutRecorderView& overview = pane->recorder(kOverview);
    const auto inPage = [page](const QWidget& widget) {
        return QRect(widget.mapTo(page->viewport(), QPoint()), widget.size());
    };
    for (const Qt::Key refused : {Qt::Key_F5, Qt::Key_A, Qt::Key_Print}) {
        overview.recorder().click();
        press(overview, refused);
        QCoreApplication::processEvents();
        EXPECT_TRUE(overview.recorder().isListening());
        ASSERT_TRUE(pane->chordNote().isVisible()) << refused;
        EXPECT_TRUE(page->viewport()->rect().contains(inPage(pane->chordNote()))) << refused;
        EXPECT_EQ(inPage(pane->chordNote()).top(), inPage(pane->recorderRow(kOverview)).bottom() + 1) << refused;
        overview.recorder().stopListening();
    }
}

// A note that answers a click may stand below the fold at the smallest window: the page
// brings it into sight, as it does a recorder's note.
TEST_F(GeneralPaneTest, ANoteThatAnswersAClickIsBroughtIntoSight) {
    w.world.nativeDock.setSupported(false);
    w.world.login.scriptRegister({Error{"Not a directory", "posix", 20}, LoginStatus::notRegistered});
    w.world.processes.script("/usr/bin/quillbern", {Error{"No such file or directory", "posix", 2}});
    open();
    pane->resize(700, 360);
    auto* page = pane->findChild<QScrollArea*>();
    // The control at the foot of the page, what comes under it below the fold.
    const auto atTheFoot = [page](QWidget& control) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        page->verticalScrollBar()->setValue(0);
        page->ensureWidgetVisible(&control, 0, 0);
    };
    const auto inSight = [page](const QWidget& note) {
        QCoreApplication::processEvents();
        return note.isVisible() &&
               page->viewport()->rect().contains(QRect(note.mapTo(page->viewport(), QPoint()), note.size()));
    };

    atTheFoot(pane->openAtLogin());
    pane->openAtLogin().click();
    EXPECT_TRUE(inSight(pane->loginNotes())) << "the login item's failure";
    atTheFoot(pane->hideDesktopDock());
    pane->hideDesktopDock().click();
    EXPECT_TRUE(inSight(pane->desktopDockError())) << "the desktop's dock refused";
    atTheFoot(pane->language());
    pane->language().setCurrentIndex(4);
    Q_EMIT pane->language().activated(4);
    EXPECT_TRUE(inSight(pane->relaunchRow())) << "the offer to relaunch";
    atTheFoot(pane->relaunchNow());
    pane->relaunchNow().click();
    EXPECT_TRUE(inSight(pane->relaunchError())) << "the failed relaunch";
}

TEST_F(GeneralPaneTest, ResetAllAsksWithTheCountAndPutsEveryChordBack) {
    open();
    EXPECT_FALSE(pane->resetAllGroup().isVisible());
    preferences().setOverride(kSearch, HotKeyChord{1, HotKeyChord::kControlCommand | HotKeyChord::kShift});
    w.shell->pinned().setChord(w.shell->pinned().profiles()[0].id,
                               HotKeyChord{38, HotKeyChord::kControlCommand | HotKeyChord::kOption});
    ASSERT_TRUE(pane->resetAllGroup().isVisible());

    pane->resetAll().click();
    QMessageBox* confirmation = pane->resetConfirmation();
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->windowModality(), Qt::WindowModal);
    EXPECT_EQ(confirmation->text(), "Reset every shortcut you recorded?");
    QAbstractButton* reset = nullptr;
    for (QAbstractButton* button : confirmation->buttons()) {
        if (confirmation->buttonRole(button) == QMessageBox::DestructiveRole) reset = button;
    }
    ASSERT_TRUE(reset);
    EXPECT_EQ(reset->text(), "Reset the 2 shortcuts you recorded");
    reset->click();
    EXPECT_TRUE(preferences().hotkeyOverrides().empty());
    EXPECT_FALSE(w.shell->pinned().profiles()[0].chord);
    EXPECT_TRUE(preferences().hotkeysEnabled());
    EXPECT_FALSE(pane->resetAllGroup().isVisible());
}

TEST_F(GeneralPaneTest, ResetAllCountsOneShortcutInTheSingular) {
    open();
    preferences().setOverride(kSearch, HotKeyChord{1, HotKeyChord::kControlCommand | HotKeyChord::kShift});
    pane->resetAll().click();
    ASSERT_TRUE(pane->resetConfirmation());
    QStringList texts;
    for (QAbstractButton* button : pane->resetConfirmation()->buttons())
        texts << button->text();
    EXPECT_TRUE(texts.contains("Reset the 1 shortcut you recorded")) << texts.join('|').toStdString();
}

TEST_F(GeneralPaneTest, SwitchesASetterRefusedStayTrueToTheirStores) {
    w.world.nativeDock.setSupported(false);
    w.world.login.scriptRegister({Error{"read-only folder", "posix", 30}, LoginStatus::notRegistered});
    w.world.launcher.setOpensPages(false);
    open();
    pane->openAtLogin().click();
    EXPECT_FALSE(pane->openAtLogin().isChecked());
    EXPECT_TRUE(pane->loginError().isVisible());
    EXPECT_FALSE(pane->openLoginSettings().isVisible()) << "no button where the desktop has no such page";

    pane->hideDesktopDock().click();
    EXPECT_FALSE(pane->hideDesktopDock().isChecked());
    EXPECT_TRUE(pane->desktopDockError().isVisible());
    EXPECT_EQ(pane->desktopDockError().text().toStdString(), *w.shell->suppressor().lastError());
}

TEST_F(GeneralPaneTest, AFailedRelaunchIsShownByItsButtonAndQuillbernStays) {
    open();
    EXPECT_FALSE(pane->relaunchRow().isVisible());
    pane->language().setCurrentIndex(4);
    Q_EMIT pane->language().activated(4);
    EXPECT_EQ(preferences().languageOverride(), "de");
    ASSERT_TRUE(pane->relaunchRow().isVisible());
    w.world.processes.script("/usr/bin/quillbern", {Error{"No such file or directory", "posix", 2}});
    pane->relaunchNow().click();
    EXPECT_EQ(w.process.quitCount(), 0);
    EXPECT_TRUE(pane->relaunchError().isVisible());
    Q_EMIT pane->language().activated(0);
    EXPECT_FALSE(pane->relaunchRow().isVisible()) << "back to the language of launch";
}

TEST_F(GeneralPaneTest, WithoutAnUpdaterTheUpdatesCardIsDisabled) {
    w.hasUpdater = false;
    open();
    EXPECT_FALSE(pane->checksAutomatically().isEnabled());
    EXPECT_FALSE(pane->checksAutomatically().isChecked());
    EXPECT_FALSE(pane->checkForUpdates().isEnabled());
    EXPECT_FALSE(pane->lastCheck().isVisible());
}

}  // namespace
}  // namespace quillbern
