// Menus the core opens over its panels: the simulation's scripted answers, and the Qt
// menus under the offscreen platform, which return only once closed.
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include "QtKeys.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimWorld.h"
#include "ui/foundation/QtMenus.h"
#include "ui/foundation/QtPanelHost.h"

namespace quillbern {
namespace {

MenuModel twoLines(std::vector<std::string>& ran) {
    MenuModel menu;
    MenuItem taken{"Taken", {}, false, false, [&ran] { ran.push_back("Taken"); }, true};
    menu.append({taken});
    menu.add("Free", [&ran] { ran.push_back("Free"); });
    return menu;
}

TEST(SimMenusTest, AnswersAsScriptedAndKeepsWhatItShowed) {
    SimWorld world;
    auto panel = world.panels.createPanel({}, RectBL{0, 0, 100, 100}, PlainFill{});
    std::vector<std::string> ran;
    const MenuModel menu = twoLines(ran);

    world.menus.script({"Free", {}});
    world.menus.popUp(menu, *panel, Point{24, 68});
    EXPECT_EQ(ran, std::vector<std::string>{"Free"}) << "the choice ran before the pop-up returned";

    bool sawOpen = false;
    world.menus.script({"Taken", [&] { sawOpen = world.menus.isOpen(); }});
    world.menus.popUp(menu, *panel, Point{1, 2});
    EXPECT_TRUE(sawOpen);
    EXPECT_EQ(ran.size(), 1u) << "a disabled line cannot be chosen";

    world.menus.popUp(menu, *panel, Point{3, 4});
    EXPECT_EQ(ran.size(), 1u) << "without a script the menu closes as on Escape";
    EXPECT_FALSE(world.menus.isOpen());

    ASSERT_EQ(world.menus.shown().size(), 3u);
    const SimMenus::Shown& first = world.menus.shown().front();
    EXPECT_EQ(first.panel, panel->serial());
    EXPECT_EQ(first.at, (Point{24, 68}));
    ASSERT_EQ(first.items.size(), 2u);
    EXPECT_TRUE(first.items[0].checked);
    EXPECT_FALSE(first.items[0].enabled);
}

class QtMenusTest : public ::testing::Test {
protected:
    std::unique_ptr<Panel> openPalette() {
        PanelStyle style;
        style.level = PanelLevel::palette;
        style.takesKeyFocus = true;
        auto panel = host.createPanel(style, RectBL{100, 300, 400, 300}, PlainFill{{0.9, 0.9, 0.9, 1}});
        panel->makeKeyAndOrderFront();
        QCoreApplication::processEvents();
        return panel;
    }
    // Types the keys into the menu once it is open; records what it showed.
    void whenOpenType(std::vector<int> keys) {
        QTimer::singleShot(0, [this, keys] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* action : menu->actions())
                shown.push_back({action->text().toStdString(), action->isEnabled(), action->isChecked()});
            for (int key : keys)
                testing::type(menu->windowHandle(), key);
        });
    }
    struct Line {
        std::string title;
        bool enabled, checked;
        bool operator==(const Line&) const = default;
    };

    SimWorld world;
    SimSystemAppearance system;
    QtPanelHost host{world.frames, [] { return DesktopSpace(RectTL{0, 0, 1920, 1080}); }, system, world.keyboardLayout};
    QtMenus menus{host};
    std::vector<Line> shown;
};

TEST_F(QtMenusTest, ReturnsOnlyOnceClosedWithTheChoiceRun) {
    auto panel = openPalette();
    std::vector<std::string> ran;
    whenOpenType({Qt::Key_Down, Qt::Key_Return});
    menus.popUp(twoLines(ran), *panel, Point{24, 68});
    EXPECT_EQ(ran, std::vector<std::string>{"Free"}) << "the disabled line is passed over";
    EXPECT_EQ(shown, (std::vector<Line>{{"Taken", false, true}, {"Free", true, false}}));
}

TEST_F(QtMenusTest, EscapeClosesWithoutAChoice) {
    auto panel = openPalette();
    std::vector<std::string> ran;
    whenOpenType({Qt::Key_Escape});
    menus.popUp(twoLines(ran), *panel, Point{24, 68});
    EXPECT_FALSE(shown.empty()) << "the menu was open";
    EXPECT_TRUE(ran.empty());
}

TEST_F(QtMenusTest, PanelsOfAnotherHostGetNoMenu) {
    auto elsewhere = world.panels.createPanel({}, RectBL{0, 0, 100, 100}, PlainFill{});
    std::vector<std::string> ran;
    whenOpenType({Qt::Key_Down, Qt::Key_Return});
    menus.popUp(twoLines(ran), *elsewhere, Point{0, 0});
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(ran.empty());
}

}  // namespace
}  // namespace quillbern
