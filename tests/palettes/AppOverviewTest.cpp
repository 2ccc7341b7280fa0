#include <gtest/gtest.h>

#include "core/palettes/AppOverview.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

constexpr KeyCode kReturn = 36, kEnter = 76, kTab = 48, kLeft = 123, kRight = 124, kDown = 125, kUp = 126, kKeyQ = 12;

WindowInfo window(WindowId id, Pid pid, const std::string& appName) {
    WindowInfo info;
    info.id = id;
    info.pid = pid;
    info.appName = appName;
    info.title = appName + " " + std::to_string(id);
    return info;
}

WindowInfo focused(WindowInfo info) {
    info.isFocused = true;
    return info;
}

WindowInfo minimized(WindowInfo info) {
    info.isMinimized = true;
    return info;
}

KeyEvent key(KeyCode code, EventFlags flags = 0) {
    return {code, flags};
}

class OverviewTest : public ::testing::Test {
protected:
    OverviewTest() {
        w.open({simDock(1, DockEdge::bottom)});
        w.world.input.setPointer({300, 300});
    }
    ~OverviewTest() override {
        overview_.reset();
        // A started worker ends without the bounded wait for its thread.
        w.engine->stop();
        w.world.runUntilIdle();
    }

    void run(Pid pid, std::optional<AppId> id, const std::string& name, std::optional<Path> path = std::nullopt,
             std::optional<std::string> windowClass = std::nullopt) {
        RunningApp app;
        app.pid = pid;
        app.appId = std::move(id);
        app.name = name;
        app.appPath = std::move(path);
        app.windowClass = std::move(windowClass);
        w.world.apps.launch(app);
        w.world.runUntilIdle();
    }
    void activate(Pid pid) {
        w.world.apps.activateByUser(pid);
        w.world.runUntilIdle();
    }
    void showWindows(std::vector<WindowInfo> windows) { w.engine->apply(WindowSnapshot{std::move(windows)}); }

    OverviewState& state() {
        if (!state_) state_ = std::make_unique<OverviewState>(*w.engine, w.pinned(), w.world.apps, w.world.text);
        return *state_;
    }
    std::vector<std::string> ids() {
        std::vector<std::string> out;
        for (const OverviewEntry& entry : state().allEntries())
            out.push_back(entry.id);
        return out;
    }
    std::string defaultID() {
        const std::vector<OverviewEntry> entries = state().allEntries();
        const OverviewEntry* chosen = state().defaultSelection(entries);
        return chosen ? chosen->id : "none";
    }

    AppOverview& overview() {
        if (!overview_) {
            overview_ = std::make_unique<AppOverview>(
                AppOverview::Ports{.palette = w.world.palettePorts(), .apps = w.world.apps, .text = w.world.text},
                *w.engine, w.pinned(), w.permission);
        }
        return *overview_;
    }
    const SimPanelState& shownPanel() { return *w.world.panels.panel(overview().panel()->serial()); }
    std::optional<std::string> selected() { return overview().state()->selectedID(); }
    bool press(KeyEvent pressed) { return shownPanel().keys.onKey && shownPanel().keys.onKey(pressed); }

    // Mail (pid 10), Notes (20) and Terminal (30), each with a window, Notes activated last.
    void threeApps() {
        run(10, "org.mail", "Mail");
        run(20, "org.notes", "Notes");
        run(30, "org.term", "Terminal");
        showWindows({window(1, 10, "Mail"), focused(window(2, 20, "Notes")), window(3, 30, "Terminal")});
        activate(10);
        activate(20);
    }

    testing::DockTestWorld w;
    std::unique_ptr<OverviewState> state_;
    std::unique_ptr<AppOverview> overview_;
};

TEST_F(OverviewTest, WindowsGroupByOwningApplicationOrByWindowClassAndOnlyRunningOnesCount) {
    // The helper runs before its application, so a set of processes would name it first.
    w.world.catalog.install("/apps/Browser.app", {"org.browser", std::nullopt, std::nullopt, "Browser"});
    run(11, "org.browser.helper", "Browser Helper", "/apps/Browser.app/helpers/Helper.app");
    run(12, "org.browser", "Browser", "/apps/Browser.app");
    run(20, std::nullopt, "Tool", std::nullopt, "Tool");
    run(21, std::nullopt, "Tool", std::nullopt, "Tool");
    run(30, "org.mail", "Mail");
    // Process 99 has quit; its window is still listed and holds the focus.
    showWindows({window(1, 11, "Browser Helper"), focused(window(2, 99, "Ghost")), window(3, 20, "tool"),
                 window(4, 12, "Browser"), focused(window(5, 30, "Mail")), window(6, 11, "Browser Helper"),
                 window(7, 21, "tool")});

    const std::vector<OverviewEntry> entries = state().allEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, "org.browser");
    EXPECT_EQ(entries[0].name, "Browser") << "the application listed under the owner's identity";
    EXPECT_EQ(entries[0].pids, (std::set<Pid>{11, 12}));
    std::vector<WindowId> windows;
    for (const WindowInfo& shown : entries[0].windows)
        windows.push_back(shown.id);
    EXPECT_EQ(windows, (std::vector<WindowId>{1, 4, 6})) << "in snapshot order";
    EXPECT_EQ(entries[1].id, "org.mail");
    EXPECT_EQ(entries[2].id, "class:Tool");
    EXPECT_EQ(entries[2].pids, (std::set<Pid>{20, 21})) << "one application without an identity";
    EXPECT_EQ(entries[2].name, "Tool") << "named after its running application, not its window";
    EXPECT_TRUE(entries[2].icon) << "the application's own picture";
    for (const OverviewEntry& entry : entries)
        EXPECT_FALSE(entry.isFocusedApp) << entry.id << ": the quit process's window was focused first";

    // A process that is no application any more leaves the list with its windows.
    w.world.apps.terminate(20);
    w.world.apps.terminate(21);
    w.world.runUntilIdle();
    EXPECT_EQ(ids(), (std::vector<std::string>{"org.browser", "org.mail"}));
}

TEST_F(OverviewTest, RecentlyActivatedFirstThenByNameIgnoringCaseThenInSnapshotOrder) {
    run(10, "org.zed", "zed");
    run(20, "org.apple", "apple");
    run(30, "org.banana", "Banana");
    run(40, std::nullopt, "Tool");
    run(50, std::nullopt, "TOOL");
    run(60, "org.cherry", "Cherry");
    showWindows({window(1, 50, "TOOL"), window(2, 10, "zed"), window(3, 40, "Tool"), window(4, 30, "Banana"),
                 window(5, 20, "apple"), window(6, 60, "Cherry")});
    // Nothing activated yet: by name, equal names in the order of their first windows.
    EXPECT_EQ(ids(),
              (std::vector<std::string>{"org.apple", "org.banana", "org.cherry", "pid:50", "pid:40", "org.zed"}));

    activate(60);
    activate(10);
    EXPECT_EQ(w.pinned().activationOrder(), (std::vector<AppId>{"org.zed", "org.cherry"}));
    EXPECT_EQ(ids(), (std::vector<std::string>{"org.zed", "org.cherry", "org.apple", "org.banana", "pid:50", "pid:40"}))
        << "processes without an identity always follow the activated applications";
}

TEST_F(OverviewTest, TheDefaultSelectionIsThePreviousApplicationWhenTheFirstIsTheCurrentOne) {
    EXPECT_EQ(defaultID(), "none");
    run(10, "org.mail", "Mail");
    showWindows({window(1, 10, "Mail")});
    activate(10);
    EXPECT_EQ(defaultID(), "org.mail") << "one entry is selected, current or not";

    run(20, "org.notes", "Notes");
    showWindows({window(1, 10, "Mail"), window(2, 20, "Notes")});
    EXPECT_EQ(defaultID(), "org.notes") << "Mail is first in the activation order";

    // Neither first in the order nor focused: the first entry.
    run(30, "org.term", "Terminal");
    showWindows({window(1, 10, "Mail"), window(2, 20, "Notes"), window(3, 30, "Terminal")});
    activate(30);
    w.world.apps.terminate(30);
    w.world.runUntilIdle();
    ASSERT_EQ(w.pinned().activationOrder().front(), "org.term");
    EXPECT_EQ(ids(), (std::vector<std::string>{"org.mail", "org.notes"}));
    EXPECT_EQ(defaultID(), "org.mail");
    // The focused window makes the first entry the current one.
    showWindows({focused(window(1, 10, "Mail")), window(2, 20, "Notes")});
    EXPECT_EQ(defaultID(), "org.notes");
}

TEST_F(OverviewTest, TheBestWindowIsTheFocusedOneElseTheFirstShownElseTheFirst) {
    OverviewEntry entry;
    EXPECT_FALSE(OverviewState::bestWindow(entry));
    entry.windows = {minimized(window(1, 10, "Mail")), window(2, 10, "Mail"), focused(window(3, 10, "Mail"))};
    EXPECT_EQ(OverviewState::bestWindow(entry)->id, 3u) << "even after a window that is shown";
    entry.windows[2].isFocused = false;
    EXPECT_EQ(OverviewState::bestWindow(entry)->id, 2u);
    entry.windows[1].isMinimized = entry.windows[2].isMinimized = true;
    EXPECT_EQ(OverviewState::bestWindow(entry)->id, 1u) << "all minimised: the first";
}

TEST_F(OverviewTest, TheSelectionTellsOnlyRealChanges) {
    int told = 0;
    const Subscription watch = state().selectionChanged.connect([&told] { ++told; });
    state().setSelectedID("org.mail");
    state().setSelectedID("org.mail");
    EXPECT_EQ(told, 1);
    state().setSelectedID(std::nullopt);
    state().setSelectedID(std::nullopt);
    EXPECT_EQ(told, 2);
}

TEST(OverviewSizingRule, ARowTooLargeForItsDisplayScrollsAtTheLimitAndNothingIsSmallerThan220By100) {
    const ScreenInfo display = simDisplay(1, "1", {0, 0, 1920, 1080}, {0, 0, 1920, 1050});
    // Up to the visible width less 80 the row keeps its size.
    EXPECT_EQ(overviewSizing({1840, 184}, display).size, (Size{1840, 184}));
    EXPECT_FALSE(overviewSizing({1840, 184}, display).scrolls);
    const OverviewSizing wide = overviewSizing({1841, 184}, display);
    EXPECT_TRUE(wide.scrolls);
    EXPECT_EQ(wide.size, (Size{1840, 184}));
    const OverviewSizing tall = overviewSizing({300, 1000}, display);
    EXPECT_TRUE(tall.scrolls);
    EXPECT_EQ(tall.size, (Size{300, 970}));
    // One tile, and "No open apps".
    EXPECT_EQ(overviewSizing({176, 184}, display).size, (Size{220, 184}));
    EXPECT_EQ(overviewSizing({150, 70}, display).size, (Size{220, 100}));
    // A display narrower than the minimum still gets it.
    const ScreenInfo narrow = simDisplay(2, "2", {0, 0, 250, 600}, {0, 0, 250, 600});
    EXPECT_EQ(overviewSizing({600, 184}, narrow).size, (Size{220, 184}));
}

TEST_F(OverviewTest, OpensCentredOnTheDisplayUnderThePointerWithTheDefaultSelection) {
    threeApps();
    w.world.paletteViews.setFittingSize({432, 184});
    overview().show();
    ASSERT_TRUE(overview().isShown());
    // Left display, visible 1920 x 1050: x 960 - 216, y 525 - 92.
    EXPECT_EQ(shownPanel().frame, (RectBL{744, 433, 432, 184}));
    EXPECT_EQ(w.world.panels.keyPanel(), overview().panel()->serial());
    EXPECT_TRUE(shownPanel().style.withoutKeyEquivalents);
    EXPECT_EQ(selected(), "org.mail") << "Notes is the current application";
    EXPECT_EQ(w.world.paletteViews.lastOverview()->scrolls, false);
    EXPECT_EQ(w.world.paletteViews.lastOverview()->inputs.state.get(), overview().state());

    // Too wide for the right display: cut to it, and the row is told to scroll.
    w.world.input.setPointer({3000, 500});
    w.world.paletteViews.setFittingSize({3000, 184});
    overview().show();
    const RectBL right = w.world.screens.screens()[1].visibleFrame;
    EXPECT_EQ(shownPanel().frame.width, right.width - 80);
    EXPECT_EQ(shownPanel().frame.midX(), right.midX());
    EXPECT_EQ(w.world.paletteViews.lastOverview()->scrolls, true);
    const std::size_t open = w.world.panels.openCount();

    overview().dismiss();
    EXPECT_FALSE(overview().isShown());
    EXPECT_FALSE(overview().state());
    EXPECT_EQ(w.world.panels.openCount(), open - 1) << "its one panel closed";
}

TEST_F(OverviewTest, ArrowsAndTabMoveWithoutWrappingAndOtherKeysAreSwallowedUnlessCommandOrControlIsHeld) {
    threeApps();
    overview().show();
    // Notes, Mail, Terminal; Mail selected.
    EXPECT_TRUE(press(key(kRight)));
    EXPECT_EQ(selected(), "org.term");
    EXPECT_TRUE(press(key(kDown)));
    EXPECT_TRUE(press(key(kTab)));
    EXPECT_EQ(selected(), "org.term") << "no wrap-around at the end";
    EXPECT_TRUE(press(key(kTab, kShiftFlag)));
    EXPECT_EQ(selected(), "org.mail");
    EXPECT_TRUE(press(key(kUp)));
    EXPECT_TRUE(press(key(kLeft)));
    EXPECT_EQ(selected(), "org.notes") << "none before the first";
    EXPECT_TRUE(press(key(kTab, kControlFlag)));
    EXPECT_EQ(selected(), "org.mail") << "Control does not change Tab";

    // Nothing valid selected: +1 takes the second, -1 the first.
    overview().state()->setSelectedID("gone");
    EXPECT_TRUE(press(key(kRight)));
    EXPECT_EQ(selected(), "org.mail");
    overview().state()->setSelectedID(std::nullopt);
    EXPECT_TRUE(press(key(kLeft)));
    EXPECT_EQ(selected(), "org.notes");

    EXPECT_FALSE(press(key(kKeyQ, kCommandFlag))) << "passed on";
    EXPECT_FALSE(press(key(kKeyQ, kControlFlag))) << "passed on";
    EXPECT_TRUE(press(key(kKeyQ))) << "swallowed";
    EXPECT_TRUE(press(KeyEvent{std::nullopt, 0}));
    EXPECT_TRUE(overview().isShown());
    EXPECT_EQ(selected(), "org.notes");

    // Escape goes to the cancel route.
    shownPanel().keys.onCancel();
    EXPECT_FALSE(overview().isShown());
    EXPECT_FALSE(overview().handleKey(key(kRight))) << "nothing to move once dismissed";
}

TEST_F(OverviewTest, ReturnTakesTheBestWindowThenDismissesThenRaisesIt) {
    w.engine->start();
    run(10, "org.mail", "Mail");
    run(20, "org.notes", "Notes");
    const ElementRef inbox = w.world.windows.addWindow(10, {.id = 7, .title = "Inbox", .frame = {100, 100, 400, 300}});
    w.world.windows.addWindow(20, {.id = 8, .title = "Notes", .frame = {200, 100, 400, 300}});
    w.world.advance(AXWorker::kDebounce);
    ASSERT_EQ(w.engine->snapshot().windows.size(), 2u);
    activate(20);

    std::vector<std::string> events;
    w.engine->onRaiseRequest = [&](const WindowInfo& raised) {
        events.push_back("raise " + std::to_string(raised.id) + (overview().isShown() ? " shown" : " dismissed"));
    };
    overview().show();
    ASSERT_EQ(selected(), "org.mail");
    EXPECT_TRUE(press(key(kReturn, kCommandFlag))) << "Command-Return still raises";
    EXPECT_EQ(events, std::vector<std::string>{"raise 7 dismissed"});
    w.world.runUntilIdle();
    const std::vector<SimWindowSystem::Call> calls = w.world.windows.calls(inbox);
    EXPECT_TRUE(std::ranges::any_of(calls, [](const auto& call) { return call.what == "raise"; }));

    // Enter too; a click on a tile takes the same path.
    overview().show();
    EXPECT_TRUE(press(key(kEnter)));
    EXPECT_EQ(events.back(), "raise 7 dismissed");
    overview().show();
    const std::vector<OverviewEntry> entries = overview().state()->allEntries();
    w.world.paletteViews.lastOverview()->inputs.activate(entries.front());
    EXPECT_EQ(events.back(), "raise 8 dismissed");
}

TEST_F(OverviewTest, ReturnWithNoEntriesKeepsTheOverviewOpenAndAWindowChosenInAMenuOnlyDismisses) {
    int raises = 0;
    w.engine->onRaiseRequest = [&raises](const WindowInfo&) { ++raises; };
    overview().show();
    EXPECT_FALSE(selected());
    EXPECT_TRUE(press(key(kReturn)));
    EXPECT_TRUE(overview().isShown());
    EXPECT_EQ(raises, 0);

    w.world.paletteViews.lastOverview()->inputs.onWindowRaise(window(1, 10, "Mail"));
    EXPECT_FALSE(overview().isShown());
    EXPECT_EQ(raises, 0) << "the menu raised it itself";
}

TEST_F(OverviewTest, AChangedListResetsASelectionNoLongerListedAndIsMeasuredAgainAroundItsCentre) {
    threeApps();
    w.world.paletteViews.setFittingSize({432, 184});
    overview().show();
    const auto view = w.world.paletteViews.lastOverview();
    ASSERT_TRUE(press(key(kRight)));
    ASSERT_EQ(selected(), "org.term");
    const RectBL opened = shownPanel().frame;

    // A window's title changes: the same list, nothing measured.
    view->setFittingSize({300, 184});
    WindowSnapshot retitled = w.engine->snapshot();
    retitled.windows[0].title = "Drafts";
    w.engine->apply(retitled);
    w.world.runUntilIdle();
    EXPECT_EQ(shownPanel().frame, opened);

    // Terminal quits: the selection falls back to the default and the panel shrinks around
    // its centre, one turn later.
    w.world.apps.terminate(30);
    EXPECT_EQ(selected(), "org.mail");
    EXPECT_EQ(shownPanel().frame, opened) << "not within the turn that changed the list";
    w.world.runUntilIdle();
    EXPECT_EQ(shownPanel().frame, (RectBL{810, 433, 300, 184}));
    EXPECT_EQ(shownPanel().frame.midX(), opened.midX());

    // A new application keeps a selection still listed, and is measured again too.
    run(40, "org.web", "Web");
    showWindows({window(1, 10, "Mail"), window(2, 20, "Notes"), window(4, 40, "Web")});
    view->setFittingSize({561, 185});
    w.world.runUntilIdle();
    EXPECT_EQ(selected(), "org.mail");
    EXPECT_EQ(shownPanel().frame, (RectBL{680, 433, 561, 185})) << "the centre kept, halves rounded away from zero";

    // Every window gone: no selection, the minimum size.
    showWindows({});
    view->setFittingSize({150, 70});
    w.world.runUntilIdle();
    EXPECT_FALSE(selected());
    EXPECT_EQ(shownPanel().frame.width, 220);
    EXPECT_EQ(shownPanel().frame.height, 100);
}

TEST_F(OverviewTest, LosingAndRegainingWindowAccessWhileShownKeepsTheOverviewAndItsSelection) {
    w.engine->start();
    run(10, "org.mail", "Mail");
    run(20, "org.notes", "Notes");
    w.world.windows.addWindow(10, {.id = 7, .title = "Inbox", .frame = {100, 100, 400, 300}});
    w.world.windows.addWindow(20, {.id = 8, .title = "Notes", .frame = {200, 100, 400, 300}});
    w.world.advance(AXWorker::kDebounce);
    overview().show();
    ASSERT_TRUE(press(key(kRight)));
    ASSERT_EQ(selected(), "org.notes");
    const auto view = w.world.paletteViews.lastOverview();
    int trustChanges = 0;
    const Subscription watch = w.engine->trustChanged.connect([&trustChanges] { ++trustChanges; });

    w.world.permissions.setWindowAccessTrusted(false);
    w.world.advance(WindowEngine::kTrustPollInterval);
    ASSERT_EQ(trustChanges, 1);
    EXPECT_FALSE(view->inputs.engine->isTrusted()) << "the view shows the card";
    EXPECT_TRUE(overview().isShown());
    view->inputs.askForAccess();
    EXPECT_EQ(w.world.permissions.windowAccessPrompts(), 1);

    w.world.permissions.setWindowAccessTrusted(true);
    w.world.advance(WindowEngine::kTrustPollInterval);
    w.world.advance(AXWorker::kDebounce);
    ASSERT_EQ(trustChanges, 2);
    EXPECT_TRUE(view->inputs.engine->isTrusted()) << "the tiles again";
    EXPECT_TRUE(overview().isShown());
    EXPECT_EQ(selected(), "org.notes");
    EXPECT_TRUE(press(key(kLeft)));
    EXPECT_EQ(selected(), "org.mail");
}

TEST_F(OverviewTest, ACommandClickInAnotherOfOurWindowsLeavesItOpenAPlainOneDismisses) {
    threeApps();
    overview().show();
    const std::uint64_t serial = overview().panel()->serial();
    w.world.events.injectLocalMouseDown({{10, 10}, kLeftButton, 0, serial});
    EXPECT_TRUE(overview().isShown()) << "a click inside it";
    w.world.events.injectLocalMouseDown({{10, 10}, kLeftButton, kCommandFlag, std::nullopt});
    EXPECT_TRUE(overview().isShown());
    w.world.events.injectLocalMouseDown({{10, 10}, kRightButton, 0, std::nullopt});
    EXPECT_FALSE(overview().isShown());

    overview().show();
    w.world.events.injectGlobalMouseDown({{10, 10}, kLeftButton, kCommandFlag, std::nullopt});
    w.world.runUntilIdle();
    EXPECT_FALSE(overview().isShown()) << "in another application, Command or not";
}

}  // namespace
}  // namespace quillbern
