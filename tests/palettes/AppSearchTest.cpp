// The application search palette on the simulation: its state, keys, pin menu and opening.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/palettes/AppSearchController.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

Uuid dockId(int n) {
    return simDock(n, DockEdge::bottom).id;
}

using ::testing::ElementsAre;
using Content = AppSearchState::Content;

constexpr KeyCode kReturn = 36, kEnter = 76, kTab = 48, kDown = 125, kUp = 126, kKeyA = 0;
constexpr KeyCode kDigit1 = 18, kDigit2 = 19, kDigit4 = 21;
constexpr EventFlags kKeypadFlag = 0x200000, kFunctionFlag = 0x800000;

KeyEvent key(KeyCode code, EventFlags flags = 0) {
    return {code, flags};
}

class AppSearchTest : public ::testing::Test {
protected:
    explicit AppSearchTest(int docks = 3) {
        std::vector<Profile> profiles;
        for (int n = 1; n <= docks; ++n)
            profiles.push_back(simDock(n, DockEdge::bottom));
        w.open(profiles);
        for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{
                 {"xterm", "XTerm"}, {"mail", "Mail"}, {"maps", "Maps"}, {"gimp", "GNU Image Manipulation"}}) {
            w.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, name});
            w.world.files.addDirectory("/apps/" + id + ".app");
        }
        index.refreshSoon();
        w.world.threads.runBackgroundJobs();
        w.world.runUntilIdle();
        w.engine->onRaiseRequest = [this](const WindowInfo& window) {
            raised.push_back({window.id, search().isShown()});
        };
    }

    AppSearchController& search() {
        if (!search_) {
            search_ =
                std::make_unique<AppSearchController>(AppSearchController::Ports{.palette = w.world.palettePorts(),
                                                                                 .menus = w.world.menus,
                                                                                 .text = w.world.text,
                                                                                 .icons = w.world.icons},
                                                      *w.engine, w.pinned(), index);
        }
        return *search_;
    }
    AppSearchState& state() { return *search().state(); }
    std::uint64_t serial() { return search().panel()->serial(); }
    const SimPanelState& panel() { return *w.world.panels.panel(serial()); }
    SimPaletteView& view() { return *w.world.paletteViews.lastBuilt(); }
    // Shows the palette with the query typed.
    void typed(const std::string& query) {
        if (!search().isShown()) search().show();
        state().setQuery(query);
        w.world.runUntilIdle();
    }
    InstalledApp installed(const std::string& id) {
        for (const InstalledApp& app : index.apps()) {
            if (app.appId == id) return app;
        }
        return {};
    }
    std::vector<std::string> appsIn(int dock) {
        std::vector<std::string> ids;
        for (const PinnedApp& app : w.pinned().profile(dockId(dock))->allApps())
            ids.push_back(app.bundleID);
        return ids;
    }
    std::vector<std::string> resultIds() {
        std::vector<std::string> ids;
        for (const InstalledApp& app : state().results())
            ids.push_back(app.appId);
        return ids;
    }
    void runApp(Pid pid, const std::string& id) {
        RunningApp running;
        running.pid = pid;
        running.appId = id;
        running.appPath = "/apps/" + id + ".app";
        running.name = id;
        w.world.apps.launch(running);
        w.world.runUntilIdle();
    }
    static WindowInfo window(WindowId id, Pid pid, bool minimized = false, bool focused = false) {
        WindowInfo info;
        info.id = id;
        info.pid = pid;
        info.isMinimized = minimized;
        info.isFocused = focused;
        info.isOnScreen = !minimized;
        return info;
    }

    testing::DockTestWorld w;
    std::shared_ptr<const InstalledAppsScanner> scanner =
        std::make_shared<const InstalledAppsScanner>(w.world.catalog, w.world.text);
    AppSearchIndex index{{.threads = w.world.threads, .scanner = scanner, .mainLoop = w.world.mainLoop}};
    struct Raise {
        WindowId window;
        bool paletteShown;
        bool operator==(const Raise&) const = default;
    };
    std::vector<Raise> raised;
    std::unique_ptr<AppSearchController> search_;
};

class AppSearchWithOneDock : public AppSearchTest {
protected:
    AppSearchWithOneDock() : AppSearchTest(1) {}
};

TEST_F(AppSearchTest, EachShowingScansAgainAndStartsFromNothingOnTheSearchLine) {
    w.world.paletteViews.setFittingSize({568, 120});
    w.world.input.setPointer({300, 300});
    search().show();
    EXPECT_THAT(w.world.threads.backgroundJobs(), ElementsAre("quillbern.scan"));
    ASSERT_TRUE(search().isShown());
    // Visible 1920 x 1050 from y 0: top edge 22 % below the top.
    EXPECT_EQ(panel().frame, (RectBL{676, 699, 568, 120}));
    EXPECT_EQ(w.world.panels.keyPanel(), serial());

    state().setQuery("ma");
    std::weak_ptr<AppSearchState> first = view().appSearchState;
    search().dismiss();
    EXPECT_TRUE(first.expired()) << "the state and its icons go with the showing";
    search().show();
    EXPECT_EQ(state().query(), "");
}

TEST_F(AppSearchTest, TypingHighlightsTheBestMatchAndTheArrowsStopAtTheEnds) {
    typed("ma");
    EXPECT_THAT(resultIds(), ElementsAre("mail", "maps", "gimp"));
    EXPECT_EQ(state().selectedApp()->appId, "mail");
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kDown)));
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kTab)));
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kDown)));
    EXPECT_EQ(state().selectedApp()->appId, "gimp") << "Down on the last stays";
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kTab, kShiftFlag)));
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kUp)));
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kUp)));
    EXPECT_EQ(state().selectedApp()->appId, "mail") << "Up on the first stays";

    state().move(1);
    state().setQuery("ma");
    EXPECT_EQ(state().selectedApp()->appId, "maps") << "the same text keeps the selection";
    state().setQuery("map");
    EXPECT_EQ(state().selectedApp()->appId, "maps");
    state().setQuery("ma");
    EXPECT_EQ(state().selectedApp()->appId, "mail") << "a new text highlights its best match";
}

TEST_F(AppSearchTest, AScanThatLandsWhileShowingUpdatesTheRowsAndKeepsTheHighlightOnOne) {
    typed("ma");
    state().move(1);
    ASSERT_EQ(state().selectedApp()->appId, "maps");
    view().setFittingSize({568, 333});
    w.world.catalog.uninstall("/apps/maps.app");
    w.world.catalog.install("/apps/maze.app", AppInfo{"maze", std::nullopt, std::nullopt, "Maze"});
    index.refreshSoon();
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    EXPECT_THAT(resultIds(), ElementsAre("mail", "maze", "gimp"));
    EXPECT_EQ(state().selectedId(), "mail") << "the selected one went: the first is highlighted";
    EXPECT_EQ(panel().frame.height, 333) << "the panel took the content's shape again";
}

TEST_F(AppSearchTest, TheContentShowsTheHintTheRowsOrWhatDidNotMatch) {
    typed("");
    EXPECT_EQ(state().content(), Content::hint);
    EXPECT_FALSE(state().showsClearButton());
    state().setQuery(" \t");
    EXPECT_EQ(state().content(), Content::hint) << "blank once trimmed";
    EXPECT_TRUE(state().showsClearButton()) << "yet there is something to clear";
    state().setQuery("ma");
    EXPECT_EQ(state().content(), Content::results);
    state().setQuery("");
    w.world.runUntilIdle();
    view().setFittingSize({568, 101});
    state().setQuery(" zz ");
    w.world.runUntilIdle();
    EXPECT_EQ(state().content(), Content::noMatch);
    EXPECT_EQ(state().noMatchText(), "No apps match “ zz ”");
    EXPECT_EQ(panel().frame.height, 101) << "the panel takes the height of the line, taller than the hint's";
}

TEST_F(AppSearchTest, TheBadgeNamesTheDocksHoldingTheAppInTheirOrder) {
    w.pinned().pin("mail", "Mail", std::nullopt, dockId(3));
    w.pinned().pin("mail", "Mail", std::nullopt, dockId(1));
    typed("mail");
    EXPECT_EQ(state().badgeText(installed("mail")), "Dock 1, Dock 3");
    EXPECT_EQ(state().badgeText(installed("maps")), "");
    EXPECT_EQ(state().icon(installed("mail")), state().icon(installed("mail"))) << "kept for the showing";
    w.world.icons.withoutIcon("/apps/maps.app");
    EXPECT_EQ(SimIcons::tagOf(state().icon(installed("maps"))), "generic") << "an entry without a picture of its own";
}

TEST_F(AppSearchTest, EscapeClearsTheQueryThenCloses) {
    typed("abc");
    EXPECT_TRUE(w.world.panels.pressEscape(serial()));
    EXPECT_TRUE(search().isShown());
    EXPECT_EQ(state().query(), "");
    EXPECT_TRUE(w.world.panels.pressEscape(serial()));
    EXPECT_FALSE(search().isShown());

    typed("  ");
    EXPECT_TRUE(w.world.panels.pressEscape(serial()));
    EXPECT_TRUE(search().isShown()) << "spaces are cleared first too";
}

TEST_F(AppSearchTest, OtherKeysGoBackToTheFieldUnlessCtrlOrSuperIsHeld) {
    typed("ma");
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kKeyA)));
    EXPECT_EQ(view().fieldFocuses, 1);
    EXPECT_FALSE(w.world.panels.pressKey(serial(), key(kKeyA, kCommandFlag)));
    EXPECT_FALSE(w.world.panels.pressKey(serial(), key(kKeyA, kControlFlag)));
    EXPECT_EQ(view().fieldFocuses, 1);
}

TEST_F(AppSearchTest, CtrlDigitsPinToTheDockAtThatPlaceOnlyWithCtrlAlone) {
    typed("xte");
    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit2, kCommandFlag)));
    EXPECT_THAT(appsIn(2), ElementsAre("xterm"));
    EXPECT_EQ(w.pinned().profile(dockId(2))->allApps().front().fallbackPath, "/apps/xterm.app");
    EXPECT_TRUE(search().isShown()) << "pinning keeps the palette";
    EXPECT_EQ(w.world.panels.keyPanel(), serial());

    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit4, kCommandFlag))) << "consumed";
    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit1, kCommandFlag | kKeypadFlag | kFunctionFlag)))
        << "the keypad and function flags do not count";
    EXPECT_THAT(appsIn(1), ElementsAre("xterm"));
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit1, kCommandFlag | kShiftFlag)));
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit1, kCommandFlag | kControlFlag)));
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), key(kKeyA, kCommandFlag)));
    EXPECT_THAT(appsIn(3), ElementsAre());

    typed("zz");
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), key(kDigit1, kCommandFlag))) << "no results";
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), key(kReturn, kCommandFlag)));
    EXPECT_TRUE(w.world.menus.shown().empty());
}

TEST_F(AppSearchWithOneDock, CtrlReturnPinsAtOnceToALoneDockAndOtherwiseShowsItChecked) {
    typed("xte");
    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kReturn, kCommandFlag)));
    EXPECT_THAT(appsIn(1), ElementsAre("xterm"));
    EXPECT_TRUE(w.world.menus.shown().empty()) << "no menu for the one dock";

    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kEnter, kCommandFlag)));
    ASSERT_EQ(w.world.menus.shown().size(), 1u);
    const std::vector<MenuItem>& items = w.world.menus.shown().front().items;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Dock 1");
    EXPECT_TRUE(items[0].checked);
    EXPECT_FALSE(items[0].enabled);
    EXPECT_EQ(w.world.menus.shown().front().at, AppSearchController::kPinMenuPoint);
}

TEST_F(AppSearchTest, ThePinMenuPinsToTheChosenDockAndGivesTheKeyboardBack) {
    w.pinned().pin("xterm", "XTerm", std::nullopt, dockId(1));
    typed("xte");
    const int madeKey = panel().madeKey;
    w.world.menus.script({"Dock 3", {}});
    // The pin button, under the pointer: the point in the panel's content, y down.
    w.world.input.setPointer({panel().frame.x + 500, panel().frame.maxY() - 90});
    view().pinMenu(installed("xterm"));
    ASSERT_EQ(w.world.menus.shown().size(), 1u);
    EXPECT_EQ(w.world.menus.shown().front().at, (Point{500, 90}));
    std::vector<std::string> titles;
    for (const MenuItem& item : w.world.menus.shown().front().items)
        titles.push_back(item.title + (item.checked ? " ✓" : "") + (item.enabled ? "" : " (off)"));
    EXPECT_THAT(titles, ElementsAre("Dock 1 ✓ (off)", "Dock 2", "Dock 3"));
    EXPECT_THAT(appsIn(3), ElementsAre("xterm"));
    EXPECT_TRUE(search().isShown());
    EXPECT_EQ(panel().madeKey, madeKey + 1);
    EXPECT_EQ(view().fieldFocuses, 1);
    EXPECT_FALSE(search().isPinMenuOpen());
}

TEST_F(AppSearchTest, AClickElsewhereDuringThePinMenuClosesThePaletteAfterTheMenu) {
    typed("xte");
    bool shownWhileOpen = false;
    w.world.menus.script({std::nullopt, [&] {
                              // A click in our own window, the keyboard lost, then a click in
                              // another application: only the last counts, and only later.
                              w.world.events.injectLocalMouseDown({{5, 5}, kLeftButton, 0, std::nullopt});
                              w.world.panels.takeKeyAway(serial());
                              w.world.events.injectGlobalMouseDown({{5, 5}, kLeftButton, 0, std::nullopt});
                              w.world.runUntilIdle();
                              shownWhileOpen = search().isShown();
                          }});
    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kReturn, kCommandFlag)));
    EXPECT_TRUE(shownWhileOpen);
    EXPECT_FALSE(search().isShown());
}

TEST_F(AppSearchTest, EscapeInThePinMenuClosesOnlyTheMenu) {
    typed("xte");
    w.world.menus.script({std::nullopt, [&] { w.world.panels.takeKeyAway(serial()); }});
    EXPECT_TRUE(w.world.panels.pressKeyEquivalent(serial(), key(kReturn, kCommandFlag)));
    EXPECT_TRUE(search().isShown());
    EXPECT_EQ(w.world.panels.keyPanel(), serial());
    EXPECT_THAT(appsIn(1), ElementsAre());
}

TEST(PinMenuModel, ALongDockNameKeepsItsStartAndItsEnd) {
    Profile dock;
    dock.name = "Desk" + std::string(5000, 'k');
    const std::vector<MenuItem> items =
        pinMenuModel(
            {"xterm", "XTerm", "/apps/xterm.app"}, {dock}, [](const Profile&) { return false; }, [](const Uuid&) {})
            .items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Desk" + std::string(16, 'k') + "…" + std::string(19, 'k'));
}

TEST(PinMenuModel, WithoutDocksItSaysSoInOneDisabledLine) {
    const InstalledApp xterm{"xterm", "XTerm", "/apps/xterm.app"};
    const std::vector<MenuItem> items =
        pinMenuModel(
            xterm, {}, [](const Profile&) { return false; }, [](const Uuid&) { FAIL(); })
            .items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "No dock to pin XTerm to");
    EXPECT_FALSE(items[0].enabled);
}

TEST_F(AppSearchTest, OpeningClosesThePaletteThenStartsTheAppWithoutWindows) {
    typed("xte");
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kReturn)));
    EXPECT_FALSE(search().isShown());
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/xterm.app"});
    EXPECT_TRUE(raised.empty());

    typed("zz");
    EXPECT_TRUE(w.world.panels.pressKey(serial(), key(kReturn))) << "consumed without a result";
    EXPECT_TRUE(search().isShown());
}

TEST_F(AppSearchTest, OpeningARunningAppRaisesItsFocusedElseNormalElseFirstWindow) {
    runApp(40, "mail");
    w.engine->apply(WindowSnapshot{{window(1, 40, true), window(2, 40), window(3, 40, false, true)}});
    typed("mail");
    view().open(installed("mail"));
    EXPECT_THAT(raised, ElementsAre(Raise{3, false})) << "raised after the palette closed";

    w.engine->apply(WindowSnapshot{{window(1, 40, true), window(2, 40)}});
    typed("mail");
    view().open(installed("mail"));
    EXPECT_EQ(raised.back().window, 2u);

    w.engine->apply(WindowSnapshot{{window(1, 40, true), window(4, 40, true)}});
    typed("mail");
    view().open(installed("mail"));
    EXPECT_EQ(raised.back().window, 1u);
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty());
}

}  // namespace
}  // namespace quillbern
