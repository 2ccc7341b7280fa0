// The apps and automation cards of the dock editor as widgets, offscreen.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/AppsCard.h"
#include "ui/settings/AutomationCard.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsSearchField.h"
#include "ui/settings/SymbolButton.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void typeText(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&widget, &down);
        QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&widget, &up);
    }
}

void press(QWidget& widget, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &up);
}

class DockCardsTest : public testing::SettingsTest {
protected:
    DockCardsTest() {
        w.world.icons.givePictures();
        for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{
                 {"org.mail", "Mail"}, {"org.maps", "Maps"}, {"org.notes", "Notes"}})
            w.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, name});
        launch();
        dock = pinned().profiles().front().id;
    }
    static void answerScan(AppsCard& card, testing::ShellWorld& world) {
        card.model().setInstalled(world.shell->installedApps()->scan());
        QCoreApplication::processEvents();
    }
    // The names of the rows shown, with the pin button's name or "Already pinned".
    static std::vector<std::string> rows(const AppsCard& card) {
        std::vector<std::string> out;
        for (QWidget* row : card.results().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!row->isVisibleTo(&card)) continue;
            if (auto* pin = row->findChild<SymbolButton*>("pin")) {
                out.push_back(pin->accessibleName().toStdString());
            } else if (auto* pinned = row->findChild<QLabel*>("alreadyPinned")) {
                out.push_back(pinned->text().toStdString());
            }
        }
        return out;
    }

    Uuid dock;
};

TEST_F(DockCardsTest, TypingFiltersTheRowsAndAPinnedAppSaysSo) {
    AppsCard card(appsCardPorts(), dock);
    testing::showWithKeyboard(card);
    EXPECT_TRUE(card.statusLine().isVisible());
    EXPECT_EQ(card.statusText().text(), "Reading your applications…") << "before the scan answers";
    card.searchField().lineEdit().setFocus();
    typeText(card.searchField().lineEdit(), "ma");
    EXPECT_FALSE(card.results().isVisible()) << "no results while reading";

    answerScan(card, w);
    QCoreApplication::processEvents();
    EXPECT_FALSE(card.statusLine().isVisible());
    EXPECT_THAT(rows(card), ElementsAre("Pin Mail to this dock", "Pin Maps to this dock"));
    typeText(card.searchField().lineEdit(), "p");
    QCoreApplication::processEvents();
    EXPECT_THAT(rows(card), ElementsAre("Pin Maps to this dock"));
    // On a plate of their own, so they never read as the dock's rows below them.
    const QImage picture = card.grab().toImage();
    const QRect plate(card.results().mapTo(&card, QPoint(0, 0)), card.results().size());
    EXPECT_NE(picture.pixelColor(plate.left() + 2, plate.center().y()),
              picture.pixelColor(plate.left() + 2, plate.bottom() + 4));

    card.results().findChild<SymbolButton*>("pin")->click();
    QCoreApplication::processEvents();
    EXPECT_THAT(rows(card), ElementsAre("Already pinned"));
    EXPECT_TRUE(w.shell->pinned().isPinned("org.maps", dock));

    typeText(card.searchField().lineEdit(), "x");
    QCoreApplication::processEvents();
    EXPECT_EQ(card.statusText().text(), "No apps match “mapx”");
    EXPECT_THAT(testing::accessibilityProblems(card), IsEmpty());
}

TEST_F(DockCardsTest, ReturnPinsTheFirstResultNotOnTheDockAndTheTrashButtonGreysOut) {
    AppsCard card(appsCardPorts(), dock);
    testing::showWithKeyboard(card);
    answerScan(card, w);
    card.searchField().lineEdit().setFocus();
    typeText(card.searchField().lineEdit(), "a");
    press(card.searchField().lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(w.shell->pinned().isPinned("org.mail", dock));

    EXPECT_TRUE(card.addTrashButton().isEnabled());
    card.addTrashButton().click();
    EXPECT_FALSE(card.addTrashButton().isEnabled());
    EXPECT_EQ(card.addFolderButton().toolTip(), "Pin a folder (Downloads, Documents…) to this dock");

    card.addFolderButton().click();
    ASSERT_TRUE(w.world.folderPicker.isOpen());
    w.world.folderPicker.answer(std::vector<Path>{"/nowhere/Gone"});
    EXPECT_TRUE(card.folderNote().isVisible());
    EXPECT_EQ(card.folderNote().style(), SettingsNoteStyle::error);
    EXPECT_THAT(card.folderNote().text().toStdString(), ::testing::HasSubstr("“Gone” could not be pinned"));
}

TEST_F(DockCardsTest, TheCopyButtonConfirmsThenReturnsAndIsNamedForScreenReaders) {
    AutomationCard card(w.world.clipboard, w.world.mainLoop, dock);
    testing::showWithKeyboard(card);
    const std::string url = "quillbern://profiles/" + dock.text() + "/toggle";
    EXPECT_EQ(card.url().accessibleName().toStdString(), url);
    EXPECT_EQ(card.copyButton().symbol(), "doc.on.doc");
    EXPECT_EQ(card.copyButton().toolTip(), "Copy");
    EXPECT_EQ(card.copyButton().accessibleName(), "Copy this dock's automation URL");

    card.resize(160, card.height());
    QCoreApplication::processEvents();
    EXPECT_TRUE(card.url().text().contains(QChar(0x2026))) << "narrow: shortened in the middle";
    card.copyButton().click();
    EXPECT_EQ(w.world.clipboard.text(), url) << "the whole URL, whatever is shown";
    EXPECT_EQ(card.copyButton().symbol(), "checkmark");
    EXPECT_EQ(card.copyButton().toolTip(), "Copied");
    w.advance(AutomationCardModel::kCopiedFor);
    EXPECT_EQ(card.copyButton().symbol(), "doc.on.doc");
    EXPECT_EQ(card.copyButton().toolTip(), "Copy");
    EXPECT_THAT(testing::accessibilityProblems(card), IsEmpty());
}

}  // namespace
}  // namespace quillbern
