#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/AboutPane.h"
#include "ui/settings/HelpPane.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPanes.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SupportPane.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

MakerAddresses makersAddresses() {
    MakerAddresses addresses;
    addresses.supportPage = "https://quillbern.example/support";
    addresses.webSite = "https://quillbern.example";
    addresses.privacyPage = "https://quillbern.example/legal/privacy";
    addresses.authorName = "Ada Byron";
    addresses.authorSite = "https://ada.example";
    addresses.supportEmail = "help@quillbern.example";
    return addresses;
}

class Panes : public testing::SettingsTest {
protected:
    Panes() { w.world.screens.setScreens({ScreenInfo{}, ScreenInfo{}}); }
};

TEST_F(Panes, HelpShowsItsCardsInOrderAndWrapsItsTextsInANarrowPane) {
    launch();
    HelpPane pane(w.shell->notifications());
    ASSERT_EQ(pane.cards().size(), 14u);
    for (SettingsCard* card : pane.cards())
        EXPECT_EQ(card->title(), nullptr) << "no card has a heading of its own";
    std::vector<std::string> titles;
    for (QLabel* title : pane.titles())
        titles.push_back(title->text().toStdString());
    EXPECT_EQ(titles.front(), "Docks");
    EXPECT_EQ(titles[3], "All open apps — Ctrl+Super+A");
    EXPECT_EQ(titles.back(), "Walkthrough");

    QLabel& docks = *pane.texts().front();
    pane.resize(1000, 700);
    pane.show();
    QApplication::processEvents();
    const int wideHeight = docks.height();
    pane.resize(420, 700);
    QApplication::processEvents();
    EXPECT_GT(docks.height(), wideHeight) << "the text takes more lines";
    for (QLabel* text : pane.texts()) {
        EXPECT_TRUE(text->wordWrap());
        EXPECT_GE(text->height(), text->heightForWidth(text->width())) << text->text().toStdString();
    }

    const int presented = w.log.count("walkthrough.present");
    pane.walkthroughButton().click();
    EXPECT_EQ(w.log.count("walkthrough.present"), presented + 1);
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());
}

TEST_F(Panes, SupportCopiesItsDiagnosticsAndSaysSoForTwoSeconds) {
    w.world.permissions.setCaptureAllowed(false);
    launch();
    SupportPane pane(supportPanePorts(services()), makersAddresses());
    EXPECT_EQ(pane.diagnostics().text().toStdString(),
              "Quillbern 2.1 (57)\nLinux 6.1.0\nDisplays: 2\nWindow access: granted\nWindow pictures: not granted");

    EXPECT_EQ(pane.copyButton().text(), "Copy");
    pane.copyButton().click();
    EXPECT_EQ(pane.copyButton().text(), "Copied");
    EXPECT_EQ(w.world.clipboard.text(), pane.diagnostics().text().toStdString());
    w.advance(SupportPaneModel::kCopiedFor);
    EXPECT_EQ(pane.copyButton().text(), "Copy");

    // A grant given in the system's settings shows without opening the pane again.
    w.world.permissions.setCaptureAllowed(true);
    w.shell->previews().refreshGrant();
    EXPECT_TRUE(pane.diagnostics().text().endsWith("Window pictures: granted"));

    ASSERT_NE(pane.supportLink(), nullptr);
    pane.supportLink()->click();
    ASSERT_NE(pane.mailLink(), nullptr);
    EXPECT_EQ(pane.mailLink()->accessibleName(), "help@quillbern.example");
    pane.mailLink()->click();
    EXPECT_EQ(w.world.launcher.openedLocations(),
              (std::vector<std::string>{"https://quillbern.example/support?lang=en&v=2.1%20(57)",
                                        "mailto:help@quillbern.example"}));
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());
}

TEST_F(Panes, SupportWithoutTheMakersAddressesShowsNoLinks) {
    launch();
    SupportPane pane(supportPanePorts(services()), MakerAddresses{});
    EXPECT_EQ(pane.supportLink(), nullptr);
    EXPECT_EQ(pane.mailLink(), nullptr);
    for (const QLabel* label : pane.findChildren<QLabel*>()) {
        EXPECT_FALSE(label->text().contains("web site")) << "no invitation to a page the build does not name";
        EXPECT_NE(label->text(), "Something not working?") << "no card without anything in it";
    }
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());
}

TEST_F(Panes, AboutShowsTheVersionAnIconOfExactlyItsSideAndChecksOnlyWithAnUpdater) {
    w.hasUpdater = false;
    launch();
    QPixmap wide(300, 120);
    wide.fill(Qt::darkCyan);
    QGuiApplication::setWindowIcon(QIcon(wide));
    AboutPane pane(w.process, w.shell->updater(), w.world.launcher, makersAddresses());
    QGuiApplication::setWindowIcon(QIcon());
    EXPECT_EQ(pane.icon().deviceIndependentSize().toSize(), QSize(AboutPane::kIconSide, AboutPane::kIconSide));
    EXPECT_EQ(pane.versionLine().text(), "2.1 (57)");
    EXPECT_FALSE(pane.checkNow().isEnabled());

    std::vector<QString> links;
    for (QPushButton* link : pane.links())
        links.push_back(link->accessibleName());
    EXPECT_EQ(links, (std::vector<QString>{"quillbern.example", "help@quillbern.example", "Ada Byron — ada.example",
                                           "Privacy policy"}));
    pane.links().back()->click();
    EXPECT_EQ(w.world.launcher.openedLocations(), std::vector<std::string>{"https://quillbern.example/legal/privacy"});
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());

    AboutPane bare(w.process, w.shell->updater(), w.world.launcher, MakerAddresses{});
    EXPECT_TRUE(bare.icon().isNull());
    EXPECT_TRUE(bare.links().empty());
}

TEST_F(Panes, AboutChecksForUpdatesWhereTheUpdaterCan) {
    w.updater.setCanCheck(true);
    launch();
    AboutPane pane(w.process, w.shell->updater(), w.world.launcher, MakerAddresses{});
    ASSERT_TRUE(pane.checkNow().isEnabled());
    pane.checkNow().click();
    EXPECT_EQ(w.updater.checks(), 1);
}

}  // namespace
}  // namespace quillbern
