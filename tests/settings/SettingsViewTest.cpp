#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QWheelEvent>
#include <QWindow>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/shell/InAppNotifications.h"
#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "support/PicturesArrived.h"
#include "ui/settings/AppearancePane.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/ReadoutSlider.h"
#include "ui/settings/SettingsStepper.h"
#include "ui/settings/SettingsView.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

class SettingsViewTest : public testing::SettingsTest {
protected:
    SettingsViewTest() {
        launch();
        view = std::make_unique<SettingsView>(services());
        view->resize(920, 760);
    }
    int refreshes() const { return w.log.count("login.status"); }
    void press(int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(view->windowHandle(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(view->windowHandle(), &up);
    }
    // A notch of the wheel over the middle of the control, as the window receives it.
    void wheelOver(const QWidget& control, int notches) {
        const QPointF at = control.mapTo(view.get(), QPointF(control.rect().center()));
        QWheelEvent turned(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->windowHandle(), &turned);
    }

    std::unique_ptr<SettingsView> view;
};

TEST_F(SettingsViewTest, OneSectionIsAlwaysSelectedAndEachChoiceBuildsItsPaneAnew) {
    QListWidget& sidebar = view->sidebar();
    QStringList titles;
    for (int i = 0; i < sidebar.count(); ++i)
        titles << sidebar.item(i)->text();
    EXPECT_EQ(titles, (QStringList{"General", "Docks", "Appearance", "Hover previews", "Permissions", "Support", "Help",
                                   "About"}));
    EXPECT_EQ(view->section(), SettingsSection::general);
    EXPECT_TRUE(sidebar.item(0)->isSelected());
    EXPECT_EQ(view->title().text(), "General");

    QPointer<QWidget> general = &view->pane();
    sidebar.setCurrentRow(1);
    EXPECT_EQ(view->section(), SettingsSection::docks);
    EXPECT_EQ(view->title().text(), "Docks");
    ASSERT_TRUE(general);
    EXPECT_TRUE(general->isHidden()) << "the pane before is hidden at once";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(general.isNull()) << "and destroyed, with its subscriptions, back in the event loop";

    // A section chosen from inside a slot of the pane shown: the pane outlives its slot.
    QPointer<QWidget> docks = &view->pane();
    bool outlivedTheChoice = false;
    QObject::connect(docks, &QObject::objectNameChanged, [&] {
        view->select(SettingsSection::general);
        outlivedTheChoice = !docks.isNull();
    });
    docks->setObjectName(QStringLiteral("renamed"));
    EXPECT_TRUE(outlivedTheChoice);
    EXPECT_EQ(view->title().text(), "General");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(docks.isNull());

    sidebar.clearSelection();
    EXPECT_EQ(view->section(), SettingsSection::general);
    EXPECT_TRUE(sidebar.item(0)->isSelected()) << "a request to select nothing keeps the section";
    // A screen reader's toggle adds its row to the selection: that row is the choice.
    sidebar.selectionModel()->select(sidebar.model()->index(2, 0), QItemSelectionModel::Select);
    EXPECT_EQ(view->section(), SettingsSection::appearance);
    EXPECT_EQ(sidebar.selectedItems(), QList<QListWidgetItem*>{sidebar.item(2)});

    w.shell->notifications().post(kShowHelpNotification);
    EXPECT_TRUE(sidebar.item(6)->isSelected());
    EXPECT_EQ(view->title().text(), "Help");
    const QWidget* help = &view->pane();
    w.shell->openHelp();
    EXPECT_EQ(&view->pane(), help) << "a second request for Help changes nothing";
}

TEST_F(SettingsViewTest, OnScreenItRefreshesAtOnceAndEverySecondUntilHidden) {
    w.log.clear();
    view->show();
    EXPECT_EQ(refreshes(), 1);
    w.advance(2);
    EXPECT_EQ(refreshes(), 3);
    view->hide();
    w.advance(3);
    EXPECT_EQ(refreshes(), 3);
    view->show();
    EXPECT_EQ(refreshes(), 4);
}

TEST_F(SettingsViewTest, ItKeepsItsMinimumSizeAndTheSidebarBetween165And220) {
    view->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->minimumSize(), QSize(740, 520));
    EXPECT_EQ(view->sidebar().width(), 180);
    EXPECT_EQ(view->sidebar().minimumWidth(), 165);
    EXPECT_EQ(view->sidebar().maximumWidth(), 220);
    auto* split = view->findChild<QSplitter*>();
    ASSERT_TRUE(split);
    split->setSizes({400, 520});
    EXPECT_EQ(view->sidebar().width(), 220);
    split->setSizes({100, 820});
    EXPECT_EQ(view->sidebar().width(), 165);
}

// The colour of the icon's most opaque pixel.
QColor inkOf(const QIcon& icon, QIcon::Mode mode) {
    const QImage picture = icon.pixmap(QSize(18, 18), 1.0, mode).toImage();
    QColor ink(0, 0, 0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel.alpha() > ink.alpha()) ink = pixel;
        }
    }
    return ink;
}

TEST_F(SettingsViewTest, SidebarSymbolsStandOutOnTheirRowInALightAndADarkPaletteSelectedOrNot) {
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x2b, 0x2b, 0x2b)},
                                       {QPalette::WindowText, QColor(0xee, 0xee, 0xee)},
                                       {QPalette::Base, QColor(0x24, 0x24, 0x24)},
                                       {QPalette::Text, QColor(0xee, 0xee, 0xee)},
                                       {QPalette::Highlight, QColor(0x35, 0x84, 0xe4)},
                                       {QPalette::HighlightedText, QColor(0xff, 0xff, 0xff)}})
        dark.setColor(role, colour);
    const auto contrast = [](const QColor& ink, const QColor& ground) {
        return std::abs(ink.lightnessF() - ground.lightnessF());
    };
    // Drawn once their pictures are chosen.
    for (int row = 0; row < view->sidebar().count(); ++row)
        inkOf(view->sidebar().item(row)->icon(), QIcon::Normal);
    waitForPictures();
    for (const QPalette& palette : {QApplication::palette(), dark}) {
        view->setPalette(palette);
        for (int row = 0; row < view->sidebar().count(); ++row) {
            const QIcon icon = view->sidebar().item(row)->icon();
            EXPECT_GT(contrast(inkOf(icon, QIcon::Normal), palette.color(QPalette::Base)), 0.3) << row;
            EXPECT_GT(contrast(inkOf(icon, QIcon::Selected), palette.color(QPalette::Highlight)), 0.3) << row;
        }
    }
}

TEST_F(SettingsViewTest, TheKeyboardAloneWalksTheSectionsAndTheShellPassesTheAudit) {
    EXPECT_THAT(testing::accessibilityProblems(*view), IsEmpty());
    view->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &view->sidebar());
    std::vector<SettingsSection> walked{view->section()};
    for (int i = 0; i < 7; ++i) {
        press(Qt::Key_Down);
        walked.push_back(view->section());
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(walked[static_cast<std::size_t>(i)], settingsSections()[static_cast<std::size_t>(i)].section);
    press(Qt::Key_Home);
    EXPECT_EQ(view->section(), SettingsSection::general);
}

TEST_F(SettingsViewTest, TheWheelScrollsThePageOverAControlWithoutFocusAndTurnsOnlyTheFocusedOne) {
    preferences().setLanguageOverride("fr");
    view->resize(view->minimumSize());
    view->show();
    view->activateWindow();
    QCoreApplication::processEvents();
    w.world.defaults.resetWriteCounts();
    // A notch over the control, the control near the top of the page: the page scrolls where
    // it can, the control keeps its value.
    const auto scrollOver = [this](QWidget& control, const std::function<int()>& value) {
        QScrollArea* page = nullptr;
        for (QWidget* above = control.parentWidget(); !page; above = above->parentWidget())
            page = qobject_cast<QScrollArea*>(above);
        QScrollBar& scroll = *page->verticalScrollBar();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        scroll.setValue(control.mapTo(page->widget(), QPoint()).y() - 20);
        const int before = value();
        const int scrolledBefore = scroll.value();
        wheelOver(control, scroll.value() < scroll.maximum() ? -1 : 1);
        const std::string name = control.accessibleName().toStdString();
        EXPECT_EQ(value(), before) << name;
        if (scroll.maximum() > 0) {
            EXPECT_NE(scroll.value(), scrolledBefore) << name;
        }
    };
    auto& general = dynamic_cast<GeneralPane&>(view->pane());
    QComboBox& language = general.language();
    scrollOver(language, [&] { return language.currentIndex(); });
    scrollOver(general.workspaceLimit(), [&] { return general.workspaceLimit().value(); });
    view->select(SettingsSection::appearance);
    QCoreApplication::processEvents();
    ReadoutSlider& iconSize = dynamic_cast<AppearancePane&>(view->pane()).slider(AppearanceSlider::tileSize);
    scrollOver(iconSize, [&] { return iconSize.value(); });
    EXPECT_EQ(w.world.defaults.totalWrites(), 0);

    // Given the focus, it takes the wheel again.
    iconSize.setFocus();
    const int before = iconSize.value();
    wheelOver(iconSize, 1);
    EXPECT_NE(iconSize.value(), before);
    EXPECT_GT(w.world.defaults.totalWrites(), 0);
}

TEST_F(SettingsViewTest, LeftOnEachSectionForTwentySecondsItStoresNothing) {
    view->show();
    // What the first look finds (the login item's state where none was stored) is news.
    w.world.defaults.resetWriteCounts();
    for (const SettingsSectionInfo& info : settingsSections()) {
        view->select(info.section);
        w.advance(20);
    }
    EXPECT_GT(refreshes(), 8 * 20);
    EXPECT_EQ(w.world.defaults.totalWrites(), 0);
}

}  // namespace
}  // namespace quillbern
