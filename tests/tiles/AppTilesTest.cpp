#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "core/tiles/AppTiles.h"
#include "core/tiles/DockViewModel.h"
#include "core/workspace/WorkspaceController.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::focused;
using testing::kLeft;
using testing::kRight;
using testing::minimized;
using testing::window;

const PinnedApp kMail{"mail", "Mail", std::nullopt};
const PinnedApp kGone{"gone", "Gone", std::nullopt};

// The titles of a menu's lines, "--" for a separator.
std::vector<std::string> titles(const MenuModel& menu) {
    std::vector<std::string> result;
    for (const MenuItem& item : menu.items())
        result.push_back(item.isSeparator ? "--" : item.title);
    return result;
}

void choose(const MenuModel& menu, const std::string& title) {
    for (const MenuItem& item : menu.items()) {
        if (!item.isSeparator && item.title == title) return item.action();
    }
    ADD_FAILURE() << "no line " << title;
}

class Tiles : public ::testing::Test {
protected:
    Tiles() {
        w.install("mail", "Mail", Qt::red);
        w.install("web", "Web", Qt::green);
        w.install("term", "Term", Qt::blue);
    }

    void open(std::vector<PinnedItem> items = {app("mail", "Mail"), app("gone", "Gone")}) {
        w.open({dock(1, DockEdge::bottom, std::move(items))});
        w.engine->onRaiseRequest = [this](const WindowInfo& window) { raised.push_back(window.id); };
        model = std::make_unique<DockViewModel>(*w.engine, *w.pinned, *w.appearance, testing::dockId(1), kLeft);
        tiles = std::make_unique<AppTiles>(
            *model, *w.engine, *w.pinned, w.world.apps,
            AppTiles::Hooks{[this](const std::optional<WindowInfo>& window) { hovers.push_back(window); },
                            [this](const PinnedApp& launched) { coldLaunches.push_back(launched.bundleID); }});
    }

    AppTile pinned(const PinnedApp& app) const { return tiles->pinnedAppTile(app); }
    AppTile running(Pid pid) const {
        for (const TransientDockApp& entry : model->transientApps()) {
            if (entry.pid == pid) return tiles->transientTile(entry);
        }
        ADD_FAILURE() << "no running tile for " << pid;
        return {};
    }
    // The last hover told, by window id; 0 for none.
    WindowId lastHover() const { return hovers.back() ? hovers.back()->id : 0; }

    testing::TilesWorld w;
    std::unique_ptr<DockViewModel> model;
    std::unique_ptr<AppTiles> tiles;
    std::vector<std::optional<WindowInfo>> hovers;
    std::vector<std::string> coldLaunches;
    std::vector<WindowId> raised;
};

TEST_F(Tiles, APinnedTileShowsWhetherItsApplicationIsInstalledRunningAndFrontmost) {
    open();
    AppTileState state = pinned(kMail).state;
    EXPECT_EQ(state.name, "Mail");
    EXPECT_TRUE(state.isInstalled);
    EXPECT_NE(state.icon, nullptr);
    EXPECT_FALSE(state.showsDot);
    EXPECT_EQ(appTileToolTip(state), "Mail");
    EXPECT_EQ(appTileAccessibilityLabel(state), "Mail");
    EXPECT_EQ(appTileAccessibilityValue(state), "");
    EXPECT_EQ(appTileDotOpacity(state), 0);

    // Running without a window yet: its process alone lights the dot.
    w.run(10, "mail", "Mail");
    state = pinned(kMail).state;
    EXPECT_TRUE(state.showsDot);
    EXPECT_FALSE(state.isFocusedApp);
    EXPECT_EQ(appTileAccessibilityValue(state), "running");
    EXPECT_EQ(appTileDotOpacity(state), 0.55);

    // Frontmost, though its focused window is on the other display.
    w.showWindows({focused(window(1, 10, "Mail", kRight))});
    state = pinned(kMail).state;
    EXPECT_TRUE(state.isFocusedApp);
    EXPECT_EQ(appTileAccessibilityValue(state), "frontmost");
    EXPECT_EQ(appTileDotOpacity(state), 1);
}

TEST_F(Tiles, AnApplicationThatIsNotInstalledIsFadedSaysSoAndCanOnlyBeRemoved) {
    open();
    w.run(30, "gone", "Gone");
    w.showWindows({window(1, 30, "Gone", kLeft)});
    const AppTile tile = pinned(kGone);
    EXPECT_FALSE(tile.state.isInstalled);
    EXPECT_TRUE(tile.state.showsDot) << "it still runs";
    EXPECT_EQ(tile.state.icon, nullptr) << "the placeholder";
    EXPECT_EQ(appTileIconOpacity(tile.state), 0.4);
    EXPECT_EQ(appTileToolTip(tile.state), "Gone — not found");
    EXPECT_EQ(appTileAccessibilityLabel(tile.state), "Gone, not found");
    EXPECT_EQ(titles(tile.menu()), std::vector<std::string>{"Remove from dock"});

    choose(tile.menu(), "Remove from dock");
    EXPECT_FALSE(w.pinned->isPinned("gone", testing::dockId(1)));
    EXPECT_EQ(w.pinned->undoableRemoval()->label, "Put the app back");
}

TEST_F(Tiles, AClickRaisesTheBestWindowPreferringThisDisplay) {
    open();
    w.run(10, "mail", "Mail");
    w.showWindows(
        {window(1, 10, "Mail", kRight), minimized(window(2, 10, "Mail", kLeft)), window(3, 10, "Mail", kLeft)});
    pinned(kMail).activate();
    EXPECT_EQ(raised, std::vector<WindowId>{3}) << "the first shown window on this display";
    EXPECT_EQ(lastHover(), 0u) << "the preview is dismissed";
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty());

    // Only windows elsewhere: the best of them, there.
    w.showWindows({minimized(window(1, 10, "Mail", kRight)), window(4, 10, "Mail", kRight)});
    pinned(kMail).activate();
    EXPECT_EQ(raised.back(), 4u);
    // All minimised: the first, which the worker restores.
    w.showWindows({minimized(window(5, 10, "Mail", kLeft)), minimized(window(6, 10, "Mail", kLeft))});
    pinned(kMail).activate();
    EXPECT_EQ(raised.back(), 5u);
}

TEST_F(Tiles, TheRaiseGoesToTheWindowWorker) {
    open();
    w.engine->start();
    const ElementRef shell = w.world.windows.addWindow(10, {.id = 7, .title = "Inbox", .frame = {100, 100, 400, 300}});
    w.run(10, "mail", "Mail");
    w.world.advance(AXWorker::kDebounce);
    ASSERT_EQ(w.engine->snapshot().windows.size(), 1u);
    pinned(kMail).activate();
    w.world.runUntilIdle();
    const std::vector<SimWindowSystem::Call> calls = w.world.windows.calls(shell);
    EXPECT_TRUE(std::ranges::any_of(calls, [](const auto& call) { return call.what == "raise"; }));
    EXPECT_EQ(raised, std::vector<WindowId>{7});
}

TEST_F(Tiles, AClickWithoutAWindowStartsTheApplicationAndShowsTheBeaconOnlyFromCold) {
    open();
    pinned(kMail).activate();
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/mail.app"});
    EXPECT_EQ(coldLaunches, std::vector<std::string>{"mail"});
    EXPECT_TRUE(pinned(kMail).state.isLaunching) << "the tile bounces";
    EXPECT_EQ(lastHover(), 0u);

    // Arrived: no longer launching.
    w.run(10, "mail", "Mail");
    EXPECT_FALSE(pinned(kMail).state.isLaunching);

    // Running without windows: brought forward, no beacon.
    pinned(kMail).activate();
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 2u);
    EXPECT_EQ(coldLaunches.size(), 1u);
    EXPECT_FALSE(pinned(kMail).state.isLaunching);

    // An application that cannot be found beeps and starts nothing.
    pinned(kGone).activate();
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_EQ(coldLaunches.size(), 1u);
}

TEST_F(Tiles, HoveringHandsTheBestWindowToTheDock) {
    open();
    w.run(10, "mail", "Mail");
    w.showWindows({window(1, 10, "Mail", kRight), window(2, 10, "Mail", kLeft)});
    const AppTile tile = pinned(kMail);
    tile.hover(true);
    EXPECT_EQ(lastHover(), 2u);
    tile.hover(false);
    EXPECT_EQ(lastHover(), 0u);

    // A tile acts on the windows of the change that built it.
    w.showWindows({window(3, 10, "Mail", kLeft)});
    tile.hover(true);
    EXPECT_EQ(lastHover(), 2u);
}

TEST_F(Tiles, AMemberOfTheWorkspaceCanBeTakenOutOfItFromItsMenu) {
    open();
    DockPreferences preferences(w.world.defaults, w.world.clock, w.world.mainLoop);
    WorkspaceController workspace({.apps = w.world.apps,
                                   .screens = w.world.screens,
                                   .alerts = w.world.alerts,
                                   .clock = w.world.clock,
                                   .mainLoop = w.world.mainLoop},
                                  *w.engine, *w.pinned, preferences);
    const AppTiles withWorkspace(*model, *w.engine, *w.pinned, w.world.apps, {}, &workspace);
    w.run(10, "mail", "Mail");
    w.run(20, "web", "Web");
    w.showWindows({window(1, 10, "Mail", kLeft), window(2, 20, "Web", kLeft)});
    const auto offersRemoval = [](const MenuModel& menu) {
        return std::ranges::count(titles(menu), "Remove from workspace") == 1;
    };
    EXPECT_FALSE(offersRemoval(withWorkspace.pinnedAppTile(kMail).menu()));

    workspace.drop("mail", kLeft, {100, 100});
    workspace.drop("web", kLeft, {100, 100});
    EXPECT_EQ(titles(withWorkspace.pinnedAppTile(kMail).menu()),
              (std::vector<std::string>{"Mail 1", "--", "Hide", "Quit", "--", "Remove from workspace", "--",
                                        "Remove from dock"}));
    EXPECT_FALSE(offersRemoval(pinned(kMail).menu())) << "tiles without the workspace";
    choose(withWorkspace.pinnedAppTile(kMail).menu(), "Remove from workspace");
    EXPECT_FALSE(workspace.isMember("mail"));
    EXPECT_TRUE(w.pinned->isPinned("mail", testing::dockId(1))) << "still pinned, still running";

    // A running application that is not pinned.
    for (const TransientDockApp& entry : model->transientApps()) {
        if (entry.pid != 20) continue;
        const MenuModel menu = withWorkspace.transientTile(entry).menu();
        ASSERT_TRUE(offersRemoval(menu));
        choose(menu, "Remove from workspace");
    }
    EXPECT_FALSE(workspace.hasMembers());
}

TEST_F(Tiles, ThePinnedMenuForEachState) {
    open();
    EXPECT_EQ(titles(pinned(kMail).menu()), (std::vector<std::string>{"Open", "--", "Remove from dock"}));
    choose(pinned(kMail).menu(), "Open");
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 1u);
    EXPECT_EQ(coldLaunches, std::vector<std::string>{"mail"});
    EXPECT_TRUE(hovers.empty()) << "opening leaves the preview alone";

    // Running with a window on each display and a minimised one.
    w.run(10, "mail", "Mail");
    WindowInfo untitled = window(3, 10, "Mail", kLeft);
    untitled.title.clear();
    w.showWindows({window(1, 10, "Mail", kRight), minimized(window(2, 10, "Mail", kLeft)), untitled});
    EXPECT_EQ(titles(pinned(kMail).menu()), (std::vector<std::string>{"Mail 1", "Mail", "--", "Mail 2", "--", "Hide",
                                                                      "Quit", "--", "Remove from dock"}));
    const MenuModel menu = pinned(kMail).menu();
    EXPECT_EQ(menu.items()[3].symbol, "arrow.down.forward.square") << "a minimised window's row";
    EXPECT_EQ(menu.items()[0].symbol, "");

    choose(menu, "Mail 2");
    EXPECT_EQ(raised, std::vector<WindowId>{2});
    EXPECT_EQ(lastHover(), 0u);
    choose(menu, "Hide");
    EXPECT_EQ(w.world.apps.hides(), std::vector<Pid>{10});
}

TEST_F(Tiles, QuitEndsWhatShowsAWindowOrWasStartedHereHelpersFirstAndSkipsThoseThatEnded) {
    w.world.catalog.install("/apps/mail.app/helper.app", {"mail.helper", std::nullopt, std::nullopt, "Helper"});
    open();
    w.run(10, "mail", "Mail");
    RunningApp helper;
    helper.pid = 11;
    helper.appId = "mail.helper";
    helper.appPath = "/apps/mail.app/helper.app";
    helper.startedHere = true;
    w.world.apps.launch(helper);
    w.run(12, "mail", "Mail", true);
    // Without a window and not started here: Quit can neither close nor end it.
    w.run(13, "mail", "Mail");
    w.showWindows({window(1, 10, "Mail", kLeft)});
    ASSERT_EQ(w.pinned->pids("mail"), (std::set<Pid>{10, 11, 12, 13}));
    const AppTile tile = pinned(kMail);
    w.world.apps.terminate(12);
    choose(tile.menu(), "Quit");
    EXPECT_EQ(w.world.apps.quits(), (std::vector<Pid>{11, 10}));

    // Left with what it can do nothing for, the menu offers no Quit.
    w.world.apps.terminate(10);
    w.world.apps.terminate(11);
    w.showWindows({});
    EXPECT_EQ(titles(pinned(kMail).menu()), (std::vector<std::string>{"Hide", "--", "Remove from dock"}));

    // Every process ended since the tile was drawn: nothing to hide or quit.
    w.world.apps.terminate(13);
    EXPECT_EQ(titles(tile.menu()), (std::vector<std::string>{"Mail 1", "--", "Remove from dock"}));
}

TEST_F(Tiles, ARunningTileAlwaysShowsItsDotNeverBouncesAndRaisesItsWindow) {
    open({});
    w.run(20, "term", "Term");
    w.run(21, std::nullopt, "xclock");
    w.showWindows({window(1, 20, "Terminal", kLeft), focused(window(2, 21, "xclock", kLeft))});
    const AppTile term = running(20);
    EXPECT_EQ(term.state.name, "Terminal");
    EXPECT_TRUE(term.state.showsDot);
    EXPECT_FALSE(term.state.isFocusedApp);
    EXPECT_FALSE(term.state.isLaunching);
    EXPECT_TRUE(term.state.isInstalled);
    EXPECT_NE(term.state.icon, nullptr);
    EXPECT_EQ(appTileAccessibilityValue(running(21).state), "frontmost");

    term.activate();
    EXPECT_EQ(raised, std::vector<WindowId>{1});
    EXPECT_EQ(lastHover(), 0u);

    // Built when it showed no window any more: a click does nothing.
    const TransientDockApp entry = model->transientApps().at(0);
    w.showWindows({});
    const std::size_t told = hovers.size();
    tiles->transientTile(entry).activate();
    EXPECT_EQ(raised.size(), 1u);
    EXPECT_EQ(hovers.size(), told);
}

TEST_F(Tiles, TheRunningMenuOffersHideQuitAndPinning) {
    open({app("mail", "Mail")});
    w.run(20, "term", "Term");
    w.run(21, std::nullopt, "xclock");
    w.showWindows({window(1, 20, "Terminal", kLeft), window(2, 21, "xclock", kLeft)});
    EXPECT_EQ(titles(running(20).menu()),
              (std::vector<std::string>{"Terminal 1", "--", "Hide", "Quit", "--", "Pin to dock"}));
    EXPECT_EQ(titles(running(21).menu()), (std::vector<std::string>{"xclock 2", "--", "Hide", "Quit"}))
        << "an application without identity cannot be pinned";

    choose(running(20).menu(), "Quit");
    EXPECT_EQ(w.world.apps.quits(), std::vector<Pid>{20}) << "only this process";

    const MenuModel term = running(20).menu();
    choose(term, "Pin to dock");
    ASSERT_EQ(w.pinned->profile(testing::dockId(1))->items.size(), 2u);
    EXPECT_EQ(w.pinned->profile(testing::dockId(1))->items.back().id(), "app:term");
    EXPECT_FALSE(w.pinned->undoableRemoval());
    EXPECT_TRUE(model->transientApps().size() == 1u) << "its running tile gave way to a pinned one";
    choose(term, "Pin to dock");
    EXPECT_EQ(w.pinned->profile(testing::dockId(1))->items.size(), 2u) << "pinned once";

    // The process ended before its menu opened.
    const AppTile clock = running(21);
    w.world.apps.terminate(21);
    EXPECT_EQ(titles(clock.menu()), std::vector<std::string>{"xclock 2"});
}

TEST_F(Tiles, OneRunningTileStandsForEveryProcessOfItsApplication) {
    open({});
    // Each terminal window is a process of its own.
    w.run(20, "term", "Term");
    w.run(21, "term", "Term");
    w.showWindows({window(1, 20, "Terminal", kLeft), focused(window(2, 21, "Terminal", kLeft)),
                   minimized(window(3, 21, "Terminal", kRight))});
    ASSERT_EQ(model->transientApps().size(), 1u);
    const AppTile term = running(20);
    EXPECT_TRUE(term.state.isFocusedApp) << "the other process holds the focus";
    EXPECT_EQ(titles(term.menu()), (std::vector<std::string>{"Terminal 1", "Terminal 2", "--", "Terminal 3", "--",
                                                             "Hide", "Quit", "--", "Pin to dock"}));

    term.activate();
    EXPECT_EQ(raised, std::vector<WindowId>{2}) << "the application's best window, whichever process has it";
    choose(term.menu(), "Hide");
    EXPECT_EQ(w.world.apps.hides(), (std::vector<Pid>{20, 21}));
    choose(term.menu(), "Quit");
    EXPECT_EQ(w.world.apps.quits(), (std::vector<Pid>{20, 21}));
}

TEST_F(Tiles, AMenuWithNothingToChooseSaysSo) {
    open({});
    w.run(21, std::nullopt, "xclock");
    w.showWindows({window(2, 21, "xclock", kLeft)});
    const TransientDockApp entry = model->transientApps().at(0);
    w.world.apps.terminate(21);
    w.showWindows({});
    const std::vector<MenuItem> items = tiles->transientTile(entry).menu().items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Nothing to choose");
    EXPECT_FALSE(items[0].enabled);
}

}  // namespace
}  // namespace quillbern
