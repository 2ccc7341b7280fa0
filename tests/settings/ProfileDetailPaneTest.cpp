#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/model/StoredProfiles.h"
#include "settings/SettingsTest.h"
#include "sim/SimDockWorld.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/AppsCard.h"
#include "ui/settings/CommitTextField.h"
#include "ui/settings/DocksPane.h"
#include "ui/settings/EditorRowChrome.h"
#include "ui/settings/HoverRemoveButton.h"
#include "ui/settings/ItemRows.h"
#include "ui/settings/KeycapBadge.h"
#include "ui/settings/ProfileDetailPane.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsPanes.h"
#include "ui/settings/SettingsSearchField.h"
#include "ui/settings/SettingsSwitch.h"
#include "ui/settings/ShortcutRecorderView.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

class ProfileDetailPaneTest : public testing::SettingsTest {
protected:
    void open(std::vector<Profile> docks) {
        docks_ = docks;
        launch(docks);
        pane = std::make_unique<ProfileDetailPane>(dockEditorInputs(services()), docks.front().id);
        pane->resize(520, 900);
        testing::showWithKeyboard(*pane);
    }
    static std::vector<Profile> twoDocks() {
        std::vector<Profile> docks{simDock(1, DockEdge::bottom), simDock(2, DockEdge::top)};
        docks[0].name = "Home";
        docks[0].items = {PinnedApp{"p", "P", std::nullopt}, PinnedApp{"q", "Q", std::nullopt},
                          PinnedApp{"r", "R", std::nullopt}};
        docks[1].name = "Work";
        return docks;
    }
    const Profile& dock(std::size_t at) { return *pinned().findProfile(docks_.at(at).id); }
    static void key(QWidget& widget, int key, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&widget, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&widget, &up);
    }
    static void type(QWidget& widget, const QString& text) {
        for (const QChar c : text)
            key(widget, Qt::Key_A + (c.toUpper().unicode() - 'A'), QString(c));
    }
    // Wholly in the pane's view, as its page is scrolled now.
    bool inSight(const QWidget& widget) const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QWidget& viewport = *pane->page().viewport();
        return widget.isVisible() && viewport.rect().contains(QRect(widget.mapTo(&viewport, QPoint()), widget.size()));
    }
    // A short editor, as the least Settings window holds it in a language of long words, and the
    // widget at the foot of its view: what answers the user there stands below the fold.
    void scrollToTheFoot(QWidget& widget) const {
        pane->resize(520, 360);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        pane->page().ensureWidgetVisible(&widget, 0, 0);
        ASSERT_TRUE(inSight(widget));
    }
    std::vector<std::string> itemOrder() {
        std::vector<std::string> ids;
        for (const ItemRow* row : pane->itemRows().rows())
            ids.push_back(row->data().itemID);
        return ids;
    }

    std::vector<Profile> docks_;
    std::unique_ptr<ProfileDetailPane> pane;
};

TEST_F(ProfileDetailPaneTest, ControlsFollowTheStoreInPlaceAndARefusedChoiceShowsTheStoreAgain) {
    open(twoDocks());
    EXPECT_EQ(pane->nameField().text(), "Home");
    EXPECT_EQ(pane->edgePicker().accessibleName(), "Dock edge for “Home”");
    EXPECT_EQ(pane->positionPicker().segment(0).text(), "Left");
    pane->positionPicker().segment(2).setFocus();
    QPointer<SegmentButton> focused = &pane->positionPicker().segment(2);

    pinned().setEdge(docks_[0].id, DockEdge::left);
    pinned().setAlignment(docks_[0].id, DockAlignment::trailing);
    EXPECT_EQ(pane->edgePicker().currentIndex(), 2);
    EXPECT_EQ(pane->positionPicker().segment(0).text(), "Top") << "the position speaks of a vertical edge";
    EXPECT_EQ(pane->positionPicker().currentIndex(), 2);
    ASSERT_TRUE(focused);
    EXPECT_EQ(QApplication::focusWidget(), focused.data()) << "the focus stays where it was";

    pane->edgePicker().segment(3).click();
    EXPECT_EQ(dock(0).edge, DockEdge::right);
    pane->revealPicker().segment(1).click();
    EXPECT_EQ(dock(0).revealMode, RevealMode::knock);
    EXPECT_THAT(pane->revealCaption().text().toStdString(), ::testing::StartsWith("Knock:"));
    pane->openAppsSwitch().click();
    EXPECT_EQ(dock(0).showsWindows, !docks_[0].showsWindows);
    pane->enabledSwitch().click();
    EXPECT_FALSE(dock(0).isEnabled);
    EXPECT_EQ(pane->enabledSwitch().toolTip(), "Enable this dock");

    // A display whose name the store refuses: the pop-up shows the stored choice again.
    ScreenInfo odd;
    odd.id = 7;
    odd.stableId = "7-7-7";
    odd.name = "\xff";
    odd.frame = odd.visibleFrame = RectBL{0, 0, 800, 600};
    w.world.screens.setScreens({odd});
    w.world.screens.fireChanged();
    ASSERT_EQ(pane->displayPicker().count(), 2);
    pane->displayPicker().setCurrentIndex(1);
    EXPECT_EQ(pane->displayPicker().currentIndex(), 1) << "a change made by a program writes nothing";
    EXPECT_TRUE(dock(0).display.isAll());
    Q_EMIT pane->displayPicker().activated(1);
    EXPECT_TRUE(dock(0).display.isAll());
    EXPECT_EQ(pane->displayPicker().currentIndex(), 0);
}

TEST_F(ProfileDetailPaneTest, TheShortcutRowShowsTheRecorderOrThatShortcutsAreOffAndItsNotes) {
    open(twoDocks());
    EXPECT_TRUE(pane->recorder().isVisibleTo(pane.get()));
    EXPECT_TRUE(pane->badge().isVisibleTo(pane.get()));
    EXPECT_FALSE(pane->chordNote().isVisibleTo(pane.get()));

    pane->model().record(HotKeyChord{40, HotKeyChord::kCommand});
    EXPECT_EQ(pane->chordNote().style(), SettingsNoteStyle::error);
    EXPECT_TRUE(pane->chordNote().isVisibleTo(pane.get()));
    pane->model().record(HotKeyChord{17, HotKeyChord::kControl | HotKeyChord::kOption});
    EXPECT_EQ(pane->chordNote().style(), SettingsNoteStyle::warning);
    EXPECT_EQ(pane->badge().text().toStdString(),
              ChordText(w.world.keyboardLayout, w.world.text).display(*dock(0).chord));

    w.shell->dockPreferences().setHotkeysEnabled(false);
    EXPECT_FALSE(pane->recorder().isVisibleTo(pane.get()));
    EXPECT_TRUE(pane->shortcutsOff().isVisibleTo(pane.get()));
    EXPECT_FALSE(pane->badge().isVisibleTo(pane.get()));
}

TEST_F(ProfileDetailPaneTest, AChordAnotherApplicationHoldsIsStruckThroughInTheBadgeTooAndItsNoteComesIntoSight) {
    constexpr KeyCode kJ = 38;
    w.world.hotKeys.takeByOtherApplication(kJ, HotKeyChord::kControlCommand);
    open(twoDocks());
    ShortcutRecorderView& recorder = pane->recorder();
    scrollToTheFoot(recorder);
    recorder.recorder().click();
    QKeyEvent held(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier | Qt::MetaModifier);
    QCoreApplication::sendEvent(&recorder, &held);
    QCoreApplication::processEvents();
    EXPECT_THAT(pane->chordNote().text().toStdString(), ::testing::HasSubstr("is held by another application"));
    EXPECT_TRUE(inSight(pane->chordNote()));
    // The window shrinks: the texts above the note wrap onto more lines, the view is lower.
    pane->resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_TRUE(inSight(pane->chordNote())) << "kept in sight";
    // Scrolled away by the user, it stays away.
    QScrollBar& scroll = *pane->page().verticalScrollBar();
    scroll.setValue(0);
    pane->resize(380, 280);
    QCoreApplication::processEvents();
    EXPECT_EQ(scroll.value(), 0);

    // As the recorder shows it, so the header's badge.
    EXPECT_TRUE(recorder.recorder().showsStruckThrough());
    EXPECT_TRUE(pane->badge().font().strikeOut());
    EXPECT_EQ(pane->badge().accessibleName(), "Ctrl+Super+J, which could not be registered");
    EXPECT_EQ(pane->badge().toolTip(), pane->badge().accessibleName());

    // The note speaks of this dock's chord: another dock shows without it.
    pane->setProfileID(dock(1).id);
    EXPECT_FALSE(pane->chordNote().isVisibleTo(pane.get()));
    pane->setProfileID(dock(0).id);
    EXPECT_THAT(pane->chordNote().text().toStdString(), ::testing::HasSubstr("is held by another application"));
    recorder.resetButton().click();
    EXPECT_FALSE(pane->badge().font().strikeOut());
    EXPECT_EQ(pane->badge().accessibleName(), "");
}

TEST_F(ProfileDetailPaneTest, TheAppsSearchBringsWhatItFoundIntoSight) {
    w.world.icons.givePictures();
    for (const char* name : {"Mail", "Maps", "Notes"})
        w.world.catalog.install(std::string("/apps/") + name + ".app", AppInfo{name, std::nullopt, std::nullopt, name});
    open(twoDocks());
    AppsCard& apps = pane->apps();
    apps.model().setInstalled(w.shell->installedApps()->scan());
    scrollToTheFoot(apps.searchField());
    type(apps.searchField().lineEdit(), "ma");
    QCoreApplication::processEvents();
    EXPECT_TRUE(inSight(apps.results()));
    EXPECT_TRUE(inSight(apps.searchField())) << "the field typed in stays in sight";
}

TEST_F(ProfileDetailPaneTest, ItemRowsAreKeptThroughAReorderAndTakeOnlyThisDocksDrag) {
    open(twoDocks());
    ASSERT_EQ(itemOrder(), (std::vector<std::string>{"app:p", "app:q", "app:r"}));
    QPointer<ItemRow> p = pane->itemRows().row("app:p");
    QPointer<ItemRow> r = pane->itemRows().row("app:r");
    std::unique_ptr<QMimeData> data(ItemRow::dragData("app:p"));

    pane->itemsModel().dragStarted("app:p");
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(r.data(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(itemOrder(), (std::vector<std::string>{"app:q", "app:r", "app:p"}));
    EXPECT_EQ(pane->itemRows().row("app:p"), p.data()) << "the dragged row lives on";
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(r.data(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_FALSE(pinned().dragSession());

    // Another dock's drag, and files from elsewhere, are refused.
    pinned().setDragSession(DragSession{"app:x", docks_[1].id});
    QDragEnterEvent other(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(p.data(), &other);
    EXPECT_FALSE(other.isAccepted());
    pinned().setDragSession(std::nullopt);

    // The remove button, reached by the keyboard and pressed with Space.
    HoverRemoveButton& remove = pane->itemRows().row("app:q")->chrome().removeButton();
    remove.setFocus(Qt::TabFocusReason);
    key(remove, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(itemOrder(), (std::vector<std::string>{"app:r", "app:p"}));
    EXPECT_TRUE(pinned().undoableRemoval());
}

TEST_F(ProfileDetailPaneTest, TheSecondClickOfADoubleClickThatRemovedARowRemovesNoOther) {
    open(twoDocks());
    const auto settle = [] {
        for (int pass = 0; pass < 5; ++pass)
            QCoreApplication::processEvents();
    };
    const auto mouse = [](QWidget& target, QEvent::Type type, const QPoint& at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, target.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &event);
    };
    pane->resize(520, 2000);
    settle();
    HoverRemoveButton& removeQ = pane->itemRows().row("app:q")->chrome().removeButton();
    const QPoint pointer = removeQ.mapTo(pane.get(), removeQ.rect().center());
    mouse(removeQ, QEvent::MouseButtonPress, removeQ.rect().center());
    mouse(removeQ, QEvent::MouseButtonRelease, removeQ.rect().center());
    settle();
    ASSERT_EQ(itemOrder(), (std::vector<std::string>{"app:p", "app:r"}));
    auto* under = dynamic_cast<HoverRemoveButton*>(pane->childAt(pointer));
    ASSERT_TRUE(under) << "another row's remove button came under the pointer";
    mouse(*under, QEvent::MouseButtonDblClick, under->mapFrom(pane.get(), pointer));
    mouse(*under, QEvent::MouseButtonRelease, under->mapFrom(pane.get(), pointer));
    EXPECT_EQ(itemOrder(), (std::vector<std::string>{"app:p", "app:r"}));
}

TEST_F(ProfileDetailPaneTest, TabGoesThroughTheAppsCardFromTopToBottom) {
    open(twoDocks());
    QWidget* const removeP = &pane->itemRows().row("app:p")->chrome().removeButton();
    QWidget* const removeR = &pane->itemRows().row("app:r")->chrome().removeButton();
    pane->apps().searchField().lineEdit().setFocus(Qt::TabFocusReason);
    key(*QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), removeP) << "the rows stand below the search field";
    for (int i = 0; i < 3; ++i)
        key(*QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&pane->apps().addFolderButton()))
        << "the buttons stand below the rows";
    key(*QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), removeR);
}

TEST_F(ProfileDetailPaneTest, TheNameCommitsOnReturnAndOnLeavingAndNeverRenamesAnotherDock) {
    open(twoDocks());
    CommitTextField& name = pane->nameField();
    name.setFocus(Qt::MouseFocusReason);
    name.selectAll();
    type(name, "Studio");
    key(name, Qt::Key_Return);
    EXPECT_EQ(dock(0).name, "Studio");
    // A name longer than the field reads from its start once kept, selected to be typed over.
    const QString longName = QStringLiteral("Studio of the long winter evenings by the northern sea");
    type(name, longName);
    ASSERT_GT(name.fontMetrics().horizontalAdvance(longName), name.width());
    key(name, Qt::Key_Return);
    name.grab();  // A line edit scrolls its text as it paints.
    EXPECT_EQ(name.cursorPositionAt(QPoint(name.contentsRect().left() + 8, name.height() / 2)), 0);
    EXPECT_EQ(name.selectedText(), longName);

    name.selectAll();
    type(name, "Desk");
    pane->edgePicker().segment(0).setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(dock(0).name, "Desk");

    // Typed for Desk, then Work is shown: only Desk is renamed.
    name.setFocus(Qt::MouseFocusReason);
    name.selectAll();
    type(name, "Typed");
    pane->setProfileID(docks_[1].id);
    EXPECT_EQ(dock(0).name, "Typed");
    EXPECT_EQ(dock(1).name, "Work");
    EXPECT_EQ(name.text(), "Work");
    pane->edgePicker().segment(0).setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(dock(1).name, "Work");

    // An empty name is refused: on Return the field shows the name kept at once, and a note
    // says why until a name is taken. So on leaving the field.
    name.setFocus(Qt::MouseFocusReason);
    name.selectAll();
    key(name, Qt::Key_Backspace);
    key(name, Qt::Key_Return);
    EXPECT_EQ(dock(1).name, "Work");
    EXPECT_EQ(name.text(), "Work");
    EXPECT_TRUE(name.hasFocus());
    EXPECT_TRUE(pane->nameNote().isVisibleTo(pane.get()));
    EXPECT_EQ(pane->nameNote().text(), "A dock needs a name — it keeps “Work”.");
    type(name, "Bench");
    key(name, Qt::Key_Return);
    EXPECT_EQ(dock(1).name, "Bench") << "the name kept was selected, and typed over";
    EXPECT_FALSE(pane->nameNote().isVisibleTo(pane.get()));
    name.selectAll();
    key(name, Qt::Key_Space, " ");
    pane->edgePicker().segment(0).setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(dock(1).name, "Bench");
    EXPECT_EQ(name.text(), "Bench");
    EXPECT_TRUE(pane->nameNote().isVisibleTo(pane.get()));
}

TEST_F(ProfileDetailPaneTest, TheDocksPaneShowsTheSelectedDocksEditorAndThePanePassesTheAudit) {
    std::vector<Profile> docks = twoDocks();
    launch(docks);
    DocksPane docksPane(dockEditorInputs(services()));
    docksPane.resize(900, 700);
    testing::showWithKeyboard(docksPane);
    ASSERT_TRUE(docksPane.detailPane());
    EXPECT_EQ(docksPane.detailPane()->nameField().text(), "Home");
    docksPane.model().select(docks[1].id);
    EXPECT_EQ(docksPane.detailPane()->nameField().text(), "Work");
    EXPECT_THAT(testing::accessibilityProblems(*docksPane.detailPane()), IsEmpty());
}

TEST_F(ProfileDetailPaneTest, AScanStillRunningWhenThePaneAndTheShellWentEndsOnTheScannerItShares) {
    // Entries whose names are not UTF-8: each scan's end says how many it left out.
    const auto installUnreadable = [this](const std::string& id) {
        w.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, "Caf\xe9"});
    };
    installUnreadable("a");
    open(twoDocks());
    ASSERT_EQ(w.world.threads.backgroundJobs().size(), 1u) << "the pane asked the search's scan";
    pane.reset();
    w.terminate();
    w.shell.reset();
    installUnreadable("b");
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    EXPECT_TRUE(w.world.log.contains("2 application entries were left out"));
}

}  // namespace
}  // namespace quillbern
