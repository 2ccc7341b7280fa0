#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QToolTip>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/model/StoredProfiles.h"
#include "core/tiles/DragTypes.h"
#include "core/workspace/PlacementController.h"
#include "settings/SettingsTest.h"
#include "sim/SimDockWorld.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/DockRow.h"
#include "ui/settings/DocksPane.h"
#include "ui/settings/ListBarButton.h"
#include "ui/settings/PaneBanner.h"
#include "ui/settings/ProfileDetailPane.h"
#include "ui/settings/SettingsPanes.h"
#include "ui/settings/SettingsView.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

class DocksPaneTest : public testing::SettingsTest {
protected:
    void open(const std::vector<Profile>& docks) {
        launch(docks);
        w.world.defaults.resetWriteCounts();
        pane = std::make_unique<DocksPane>(dockEditorInputs(services()));
        pane->resize(700, 500);
        testing::showWithKeyboard(*pane);
    }
    static std::vector<Profile> docks(std::initializer_list<const char*> names) {
        std::vector<Profile> made;
        int n = 0;
        for (const char* name : names) {
            ++n;
            made.push_back(simDock(n, DockEdge::bottom, DisplayAssignment::all(), std::size_t(n)));
            made.back().name = name;
        }
        return made;
    }
    QStringList rowNames() const {
        QStringList names;
        for (const DockRow* row : pane->rows())
            names << row->accessibleName();
        return names;
    }
    DockRow& rowNamed(const QString& name) const {
        for (DockRow* row : pane->rows())
            if (row->accessibleName() == name) return *row;
        throw std::runtime_error("no row " + name.toStdString());
    }
    QString selectedRow() const {
        for (const DockRow* row : pane->rows())
            if (row->data().isSelected) return row->accessibleName();
        return {};
    }
    QPushButton* confirmationButton(QMessageBox::ButtonRole role) const {
        for (QAbstractButton* button : pane->confirmation()->buttons())
            if (pane->confirmation()->buttonRole(button) == role) return static_cast<QPushButton*>(button);
        return nullptr;
    }
    void press(QWidget& widget, int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &down);
    }
    // Sends the pointer of a drag carrying `data` onto the row; whether the row takes it.
    static bool dragOnto(DockRow& row, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&row, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(QPoint(12, 10), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&row, &move);
        return move.isAccepted() && move.dropAction() == Qt::MoveAction;
    }
    static bool dropOnto(DockRow& row, const QMimeData& data) {
        QDropEvent drop(QPointF(12, 10), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&row, &drop);
        return drop.isAccepted();
    }

    std::unique_ptr<DocksPane> pane;
};

TEST_F(DocksPaneTest, RowsAndBarAddSelectAndRemoveAfterTheConfirmationWithUndo) {
    open(docks({"Home", "Work"}));
    EXPECT_EQ(w.world.defaults.totalWrites(), 0) << "opening the pane writes nothing";
    EXPECT_EQ(rowNames(), (QStringList{"Home", "Work"}));
    EXPECT_EQ(selectedRow(), "Home");
    EXPECT_EQ(pane->removeButton().accessibleName(), "Delete the selected dock");
    EXPECT_FALSE(pane->undoBanner().isVisible());
    EXPECT_FALSE(pane->recoveryBanner().isVisible());

    rowNamed("Work").click();
    EXPECT_EQ(selectedRow(), "Work");
    pane->addButton().click();
    EXPECT_EQ(rowNames(), (QStringList{"Home", "Work", "Dock 1"}));
    EXPECT_EQ(selectedRow(), "Dock 1");
    EXPECT_EQ(QApplication::focusWidget(), &rowNamed("Dock 1"));

    QPointer<DockRow> work = &rowNamed("Work");
    work->click();
    pane->removeButton().click();
    ASSERT_TRUE(pane->confirmation());
    EXPECT_EQ(pane->confirmation()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(pane->confirmation()->text(), "Delete “Work”?");
    ASSERT_TRUE(confirmationButton(QMessageBox::RejectRole));
    confirmationButton(QMessageBox::RejectRole)->click();
    EXPECT_FALSE(pane->model().pendingRemoval());
    EXPECT_EQ(rowNames(), (QStringList{"Home", "Work", "Dock 1"}));

    pane->removeButton().click();
    ASSERT_TRUE(confirmationButton(QMessageBox::DestructiveRole));
    EXPECT_EQ(confirmationButton(QMessageBox::DestructiveRole)->text(), "Delete the dock and its 2 pinned items");
    confirmationButton(QMessageBox::DestructiveRole)->click();
    EXPECT_EQ(rowNames(), (QStringList{"Home", "Dock 1"}));
    EXPECT_EQ(selectedRow(), "Home");
    ASSERT_TRUE(pane->undoBanner().isVisible());
    EXPECT_EQ(pane->undoBanner().text(), "Something was removed.");
    QPushButton* restore = pane->undoBanner().buttons().front();
    EXPECT_EQ(restore->text(), "Restore “Work”");
    restore->click();
    EXPECT_EQ(rowNames(), (QStringList{"Home", "Work", "Dock 1"}));
    EXPECT_EQ(selectedRow(), "Work");
    EXPECT_FALSE(pane->undoBanner().isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(work.isNull()) << "the removed dock's row went";

    // A removal asked for by a screen reader, through the row's action; the new dock's chord
    // told as registered once the registration is read again.
    w.advance(0);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&rowNamed("Dock 1"));
    ASSERT_TRUE(accessible && accessible->actionInterface());
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Description), "This dock is shown, shortcut Ctrl+Super+3");
    EXPECT_FALSE(accessible->state().selected);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&rowNamed("Work"))->state().selected);
    accessible->actionInterface()->doAction("Delete “Dock 1”…");
    ASSERT_TRUE(pane->confirmation());
    EXPECT_EQ(pane->confirmation()->text(), "Delete “Dock 1”?");
    pane->confirmation()->reject();
    EXPECT_FALSE(pane->model().pendingRemoval());
}

TEST_F(DocksPaneTest, TheBarFollowsTheCountAndTheLimit) {
    std::vector<Profile> ten;
    for (int n = 1; n <= 10; ++n)
        ten.push_back(simDock(n, DockEdge::bottom));
    open(ten);
    EXPECT_FALSE(pane->addButton().isEnabled());
    pinned().deleteOrResetProfile(ten[9].id);
    EXPECT_TRUE(pane->addButton().isEnabled());
    for (int n = 0; n < 8; ++n)
        pinned().deleteOrResetProfile(ten[std::size_t(n)].id);
    EXPECT_EQ(rowNames(), QStringList{"Dock 9"});
    EXPECT_EQ(pane->removeButton().accessibleName(), "Empty the last dock");
    EXPECT_EQ(pane->removeButton().toolTip(), "Empty the last dock");
    EXPECT_TRUE(pane->removeButton().isEnabled());
}

TEST_F(DocksPaneTest, ANameThatLooksLikeMarkupOrAMnemonicIsShownAsWritten) {
    open(docks({"<b>R&D</b>", "Work"}));
    rowNamed("<b>R&D</b>").click();
    pane->removeButton().click();
    ASSERT_TRUE(pane->confirmation());
    EXPECT_EQ(pane->confirmation()->textFormat(), Qt::PlainText);
    confirmationButton(QMessageBox::DestructiveRole)->click();
    ASSERT_TRUE(pane->undoBanner().isVisible());
    QAccessibleInterface* restore = QAccessible::queryAccessibleInterface(pane->undoBanner().buttons().front());
    ASSERT_TRUE(restore);
    EXPECT_EQ(restore->text(QAccessible::Name), "Restore “<b>R&D</b>”");
}

TEST_F(DocksPaneTest, ADraggedRowReordersTheListLiveAndKeepsEveryRow) {
    open(docks({"P", "Q", "R"}));
    const std::vector<DockRow*> before = pane->rows();
    DockRow& p = rowNamed("P");
    pane->model().dragStarted(p.data().id);
    EXPECT_DOUBLE_EQ(p.opacity(), 0.35);
    EXPECT_DOUBLE_EQ(rowNamed("Q").opacity(), 1.0);

    std::unique_ptr<QMimeData> token(DockRow::dragData(p.data().id));
    EXPECT_EQ(token->data(QString::fromLatin1(kDockRowDragType.data())), QByteArray::fromStdString(p.data().id.text()));
    EXPECT_TRUE(dragOnto(rowNamed("Q"), *token));
    EXPECT_EQ(rowNames(), (QStringList{"Q", "P", "R"}));
    EXPECT_TRUE(dragOnto(rowNamed("R"), *token));
    EXPECT_EQ(rowNames(), (QStringList{"Q", "R", "P"}));
    std::vector<DockRow*> after = pane->rows();
    std::ranges::sort(after);
    std::vector<DockRow*> same = before;
    std::ranges::sort(same);
    EXPECT_EQ(after, same) << "rows are moved, never made again";
    EXPECT_TRUE(dropOnto(rowNamed("R"), *token));
    EXPECT_FALSE(pinned().dragSession());
    EXPECT_DOUBLE_EQ(p.opacity(), 1.0);

    // A dock tile's drag over the list is refused and moves nothing; like any drag let go
    // where nobody takes it, the release watch ends it.
    EXPECT_FALSE(dragOnto(rowNamed("Q"), *token)) << "a dock row's type without its drag";
    QMimeData tile;
    const std::string trash = "trash:AAAAAAAA-0000-4000-8000-0000000000FF";
    tile.setData(QString::fromLatin1(kPinnedItemDragType.data()), QByteArray::fromStdString(trash));
    pinned().setDragSession(DragSession{trash, p.data().id});
    EXPECT_FALSE(dragOnto(rowNamed("Q"), tile));
    EXPECT_EQ(rowNames(), (QStringList{"Q", "R", "P"}));
    w.world.input.setPressedButtons(0);
    w.advance(PlacementController::kPollInterval);
    EXPECT_FALSE(pinned().dragSession());
}

TEST_F(DocksPaneTest, BannersComeAndGoWithTheStore) {
    w.world.defaults.setData("profiles.v1", Bytes{'n', 'o', 't'});
    launch();
    pane = std::make_unique<DocksPane>(dockEditorInputs(services()));
    pane->show();
    ASSERT_TRUE(pane->recoveryBanner().isVisible());
    EXPECT_TRUE(pane->recoveryBanner().text().startsWith("Quillbern couldn't read your saved docks"));
    pane->recoveryBanner().buttons().front()->click();
    EXPECT_FALSE(pane->recoveryBanner().isVisible());

    pane->addButton().click();
    pinned().deleteOrResetProfile(pinned().profiles().back().id);
    ASSERT_TRUE(pane->undoBanner().isVisible());
    pane->undoBanner().buttons().back()->click();
    EXPECT_FALSE(pane->undoBanner().isVisible());
    EXPECT_EQ(pinned().profiles().size(), 1u);
}

TEST_F(DocksPaneTest, TheKeyboardReachesTheListAtItsSelectionAndTheArrowsMoveItThePanePassesTheAudit) {
    open(docks({"Home", "Work", "Play"}));
    pane->addButton().click();
    pinned().deleteOrResetProfile(pinned().profiles().front().id);
    ASSERT_TRUE(pane->undoBanner().isVisible());
    EXPECT_THAT(testing::accessibilityProblems(*pane), IsEmpty());
    std::vector<QWidget*> order = testing::tabOrder(*pane);
    // Then on into the selected dock's editor.
    ASSERT_GT(order.size(), 5u);
    EXPECT_TRUE(pane->detailPane()->isAncestorOf(order[5]));
    order.resize(5);
    EXPECT_THAT(order, ::testing::ElementsAre(pane->undoBanner().buttons()[0], pane->undoBanner().buttons()[1],
                                              &rowNamed("Dock 1"), &pane->addButton(), &pane->removeButton()));

    rowNamed("Dock 1").setFocus();
    press(rowNamed("Dock 1"), Qt::Key_Up);
    EXPECT_EQ(selectedRow(), "Play");
    EXPECT_EQ(QApplication::focusWidget(), &rowNamed("Play"));
    press(rowNamed("Play"), Qt::Key_Home);
    EXPECT_EQ(selectedRow(), "Work");
    press(rowNamed("Work"), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), "Play");
    press(rowNamed("Play"), Qt::Key_End);
    EXPECT_EQ(selectedRow(), "Dock 1");
}

TEST_F(DocksPaneTest, TenDocksShowWholeNamesAtTheDefaultSizeTheShortcutGivingWayFirst) {
    std::vector<Profile> ten;
    for (int n = 1; n <= 10; ++n)
        ten.push_back(simDock(n, DockEdge::bottom));
    ten[9].name = "Workbench Studio";
    launch(ten);
    SettingsView view(services());
    view.resize(view.sizeHint());
    view.show();
    view.select(SettingsSection::docks);
    QCoreApplication::sendPostedEvents();
    const auto& docksPane = dynamic_cast<const DocksPane&>(view.pane());
    for (const DockRow* row : docksPane.rows()) {
        EXPECT_EQ(row->shownName().toStdString(), row->accessibleName().toStdString());
        if (row != docksPane.rows().back()) {
            EXPECT_EQ(row->shownChord().toStdString(), *row->data().chord);
        }
    }
    // Beside a long name the shortcut loses its modifiers; whole in the description and the tooltip.
    DockRow& studio = *docksPane.rows().back();
    EXPECT_THAT(studio.shownChord().toStdString(),
                ::testing::AllOf(::testing::StartsWith("…"), ::testing::EndsWith("0")));
    EXPECT_THAT(studio.accessibleDescription().toStdString(), ::testing::EndsWith(", shortcut Ctrl+Super+0"));
    const QPoint onChord(studio.width() - 30, studio.height() / 2);
    QHelpEvent help(QEvent::ToolTip, onChord, studio.mapToGlobal(onChord));
    QCoreApplication::sendEvent(&studio, &help);
    EXPECT_EQ(QToolTip::text().toStdString(), "Ctrl+Super+0");

    // At any width the row shows the shortcut whole, its key alone or nothing: never some of
    // its modifiers, which would read as another shortcut.
    for (int width = 400; width > 60; width -= 2) {
        studio.resize(width, studio.height());
        EXPECT_THAT(studio.shownChord().toStdString(), ::testing::AnyOf("Ctrl+Super+0", "…0", "")) << width;
    }
}
}  // namespace
}  // namespace quillbern
