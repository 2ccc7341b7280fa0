// A palette's panel under the offscreen platform: where its keys go.
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <gtest/gtest.h>

#include "QtKeys.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimWorld.h"
#include "ui/foundation/OverviewPanel.h"
#include "ui/foundation/QtPanelHost.h"

namespace quillbern {
namespace {

using testing::type;

// X keycodes of the keys pressed here: evdev code + 8.
constexpr std::uint32_t kScanX = 53, kScanK = 45;
constexpr KeyCode kKeyX = 7, kKeyK = 40;

class SearchPanelTest : public ::testing::Test {
protected:
    SearchPanelTest() {
        world.keyboardLayout.setScanCode(kScanX, kKeyX);
        world.keyboardLayout.setScanCode(kScanK, kKeyK);
    }
    std::unique_ptr<Panel> openPalette(bool withoutKeyEquivalents = false) {
        PanelStyle style;
        style.level = PanelLevel::palette;
        style.takesKeyFocus = true;
        style.withoutKeyEquivalents = withoutKeyEquivalents;
        auto panel = host.createPanel(style, RectBL{100, 300, 400, 300}, PlainFill{{0.9, 0.9, 0.9, 1}});
        PanelKeyHandlers keys;
        keys.onCancel = [this] { journal.push_back("cancel"); };
        keys.onKey = [this](const KeyEvent& key) {
            journal.push_back("key");
            keys_.push_back(key);
            return keyTaken;
        };
        keys.onKeyEquivalent = [this](const KeyEvent& key) {
            journal.push_back("equivalent");
            keys_.push_back(key);
            return equivalentTaken;
        };
        keys.onResignKey = [this] { journal.push_back("resign"); };
        panel->setKeyHandlers(std::move(keys));
        panel->makeKeyAndOrderFront();
        QCoreApplication::processEvents();
        return panel;
    }
    // The one palette window the test has open.
    static QWindow* windowOf(const Panel&) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && qobject_cast<SearchPanel*>(widget)) return widget->windowHandle();
        }
        return nullptr;
    }

    SimWorld world;
    SimSystemAppearance system;
    QtPanelHost host{world.frames, [] { return DesktopSpace(RectTL{0, 0, 1920, 1080}); }, system, world.keyboardLayout};
    std::vector<std::string> journal;
    std::vector<KeyEvent> keys_;
    bool keyTaken = true;
    bool equivalentTaken = true;
};

TEST_F(SearchPanelTest, IsMadeKeyAndKeysCarryTheirPositionWithCommandBeingCtrl) {
    auto panel = openPalette();
    QWindow* window = windowOf(*panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(panel->isKey());

    EXPECT_TRUE(type(window, Qt::Key_X, Qt::NoModifier, kScanX, QStringLiteral("x")));
    type(window, Qt::Key_X, Qt::ShiftModifier | Qt::MetaModifier | Qt::AltModifier, kScanX);
    // Offered first as a key equivalent; taken there, the key goes no further.
    type(window, Qt::Key_K, Qt::ControlModifier, kScanK);
    equivalentTaken = false;
    type(window, Qt::Key_K, Qt::ControlModifier, kScanK);
    EXPECT_EQ(journal, (std::vector<std::string>{"key", "key", "equivalent", "equivalent", "key"}));
    EXPECT_EQ(keys_, (std::vector<KeyEvent>{{kKeyX, 0},
                                            {kKeyX, kShiftFlag | kControlFlag | kOptionFlag},
                                            {kKeyK, kCommandFlag},
                                            {kKeyK, kCommandFlag},
                                            {kKeyK, kCommandFlag}}));
    // A key outside the table still reaches the palette, without a position.
    journal.clear();
    keys_.clear();
    type(window, Qt::Key_F13, Qt::NoModifier, 191);
    EXPECT_EQ(keys_, (std::vector<KeyEvent>{{std::nullopt, 0}}));
}

TEST_F(SearchPanelTest, EscapeCancelsAndModifiersAloneAreNoKeys) {
    auto panel = openPalette();
    QWindow* window = windowOf(*panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(type(window, Qt::Key_Escape));
    for (const int modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta, Qt::Key_Alt, Qt::Key_Super_L})
        type(window, modifier, Qt::ControlModifier);
    EXPECT_EQ(journal, std::vector<std::string>{"cancel"});
}

TEST_F(SearchPanelTest, TheOverviewsPanelTakesCommandPeriodAsEscapeAndOffersNoKeyEquivalents) {
    auto panel = openPalette(true);
    QWindow* window = windowOf(*panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(qobject_cast<OverviewPanel*>(QWidget::find(WId(window->winId()))));
    EXPECT_TRUE(type(window, Qt::Key_Period, Qt::ControlModifier));
    EXPECT_TRUE(type(window, Qt::Key_Escape));
    type(window, Qt::Key_K, Qt::ControlModifier, kScanK);
    EXPECT_EQ(journal, (std::vector<std::string>{"cancel", "cancel", "key"}));
    EXPECT_EQ(keys_, (std::vector<KeyEvent>{{kKeyK, kCommandFlag}}));

    // The searches' panel leaves Command-period to the palette.
    panel = openPalette();
    journal.clear();
    equivalentTaken = false;
    type(windowOf(*panel), Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(journal, (std::vector<std::string>{"equivalent", "key"}));
}

TEST_F(SearchPanelTest, AMenuAPaletteOpenedCountsAsThatPaletteForClicks) {
    auto panel = openPalette(true);
    QWindow* window = windowOf(*panel);
    ASSERT_NE(window, nullptr);
    QWidget* palette = QWidget::find(WId(window->winId()));
    ASSERT_NE(palette, nullptr);
    QMenu menu(palette);
    menu.addAction(QStringLiteral("Inbox"));
    menu.popup(QPoint(200, 200));
    QCoreApplication::processEvents();
    ASSERT_TRUE(menu.windowHandle());
    EXPECT_EQ(host.panelOfWindow(std::uint32_t(menu.windowHandle()->winId())), panel->serial());
    EXPECT_EQ(host.panelOfWindow(std::uint32_t(window->winId())), panel->serial());
    QWidget other;
    other.show();
    EXPECT_FALSE(host.panelOfWindow(std::uint32_t(other.windowHandle()->winId())));
}

TEST_F(SearchPanelTest, AKeyHandlerMayCloseItsOwnPanel) {
    auto panel = openPalette();
    QPointer<QWindow> window = windowOf(*panel);
    ASSERT_NE(window, nullptr);
    PanelKeyHandlers keys;
    keys.onKey = [&panel](const KeyEvent&) {
        panel->setKeyHandlers({});
        panel.reset();
        return true;
    };
    panel->setKeyHandlers(std::move(keys));
    EXPECT_TRUE(type(window, Qt::Key_X, Qt::NoModifier, kScanX));
    EXPECT_EQ(panel, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "closed once the handler returned";
}

TEST_F(SearchPanelTest, AnotherWindowTakingTheKeyboardResignsKey) {
    auto panel = openPalette();
    ASSERT_TRUE(panel->isKey());
    QWidget other;
    other.setGeometry(800, 100, 200, 200);
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel->isKey());
    EXPECT_EQ(journal, std::vector<std::string>{"resign"});
}

}  // namespace
}  // namespace quillbern
