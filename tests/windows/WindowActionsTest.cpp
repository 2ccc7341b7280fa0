#include <algorithm>
#include <gtest/gtest.h>

#include "core/windows/WindowActions.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

using Call = SimWindowSystem::Call;
constexpr Pid kApp = 10;

// One application with one window, tracked by a running worker whose tables know it.
class Actions : public ::testing::Test {
protected:
    testing::WindowWorld w;
    SimWindowSystem& sys = w.windows;
    ElementRef app = sys.addApp(kApp);
    ElementRef window;

    void track(SimWindowSystem::WindowSpec spec) {
        window = sys.addWindow(kApp, spec);
        w.worker.start();
        w.worker.setApps({{kApp, "Editor"}});
        advance(AXWorker::kDebounce);
        ASSERT_EQ(w.published.size(), 1u);
    }
    void advance(Duration seconds) { w.world.advance(seconds); }
    WindowInfo info() const { return w.published.back().windows.at(0); }
    void perform(const WindowAction& action) {
        w.worker.perform(action, info());
        w.world.runUntilIdle();
    }
    std::vector<std::string> whats(ElementRef element) const {
        std::vector<std::string> result;
        for (const Call& call : sys.calls(element))
            result.push_back(call.what);
        return result;
    }
    int countOf(ElementRef element, const std::string& what) const {
        const auto calls = whats(element);
        return static_cast<int>(std::count(calls.begin(), calls.end(), what));
    }
    bool focused() const { return countOf(window, "focused=true") > 0; }
};

const std::vector<std::string> kFocusSteps{"raise", "main=true", "focused=true"};

TEST_F(Actions, RaisingAMinimizedWindowRestoresItWaitsForItToSettleThenFocuses) {
    track({.id = 21, .frame = {100, 100, 400, 300}, .onScreen = false, .minimized = true});
    // The application takes half a second to bring the window back.
    sys.setWriteDelay(window, Attribute::minimized, 0.5);
    perform(WindowAction::raise());
    EXPECT_EQ(whats(window), std::vector<std::string>{"minimized=false"});

    advance(0.48);  // looked at 0.35, 0.41, 0.47: still minimized
    EXPECT_FALSE(focused());
    advance(0.06);  // 0.53: restored
    EXPECT_EQ(whats(app), (std::vector<std::string>{"hidden=false", "frontmost=true"}));
    EXPECT_EQ(whats(window), (std::vector<std::string>{"minimized=false", "raise", "main=true", "focused=true"}));
    advance(AXWorker::kDebounce);
    const WindowInfo now = info();
    EXPECT_FALSE(now.isMinimized);
    EXPECT_TRUE(now.isOnScreen);
    EXPECT_TRUE(now.isFocused);
    EXPECT_TRUE(w.activated.empty());
}

TEST_F(Actions, AWindowThatNeverReportsRestoredIsFocusedAtTheCap) {
    track({.id = 21, .frame = {100, 100, 400, 300}, .onScreen = false, .minimized = true});
    sys.setWriteAnswer(window, Attribute::minimized, SimWindowSystem::WriteAnswer::ignored);
    perform(WindowAction::raise());
    advance(0.99);
    EXPECT_FALSE(focused());
    advance(0.06);
    EXPECT_EQ(countOf(window, "focused=true"), 1);
    advance(2);
    EXPECT_EQ(countOf(window, "focused=true"), 1);
}

TEST_F(Actions, AHiddenApplicationIsUnhiddenThenFocusedOnceAfterAQuarterSecond) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    sys.set(app, Attribute::hidden, true);
    // Still hidden when looked at again: the second pass must not wait once more.
    sys.setWriteAnswer(app, Attribute::hidden, SimWindowSystem::WriteAnswer::ignored);
    perform(WindowAction::raise());
    EXPECT_EQ(whats(app), std::vector<std::string>{"hidden=false"});
    EXPECT_FALSE(focused());
    advance(0.25);
    EXPECT_EQ(whats(app), (std::vector<std::string>{"hidden=false", "hidden=false", "frontmost=true"}));
    EXPECT_EQ(whats(window), kFocusSteps);
    advance(1);
    EXPECT_EQ(whats(window), kFocusSteps);
}

TEST_F(Actions, AnApplicationThatRefusesToComeForwardIsActivatedByOtherMeans) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    sys.setWriteAnswer(app, Attribute::frontmost, SimWindowSystem::WriteAnswer::refused);
    perform(WindowAction::raise());
    EXPECT_EQ(whats(window), kFocusSteps);
    EXPECT_EQ(w.activated, std::vector<Pid>{kApp});
}

TEST_F(Actions, MinimizingAndRestoring) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    perform(WindowAction::setMinimized(true));
    advance(AXWorker::kDebounce);
    EXPECT_TRUE(info().isMinimized);
    EXPECT_FALSE(info().isOnScreen);
    EXPECT_FALSE(focused());

    perform(WindowAction::setMinimized(false));
    advance(0.35);
    EXPECT_TRUE(focused());
    advance(AXWorker::kDebounce);
    EXPECT_FALSE(info().isMinimized);
    EXPECT_TRUE(info().isOnScreen);
}

TEST_F(Actions, APlacementThatHoldsIsCheckedOnceAndShowsInTheNextSnapshot) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    EXPECT_EQ(whats(window), (std::vector<std::string>{"position=(0, 0)", "size=(960, 1080)", "position=(0, 0)"}));
    EXPECT_TRUE(whats(app).empty());
    advance(AXWorker::kDebounce);
    EXPECT_EQ(info().frame, (RectTL{0, 0, 960, 1080}));
    advance(3);
    EXPECT_EQ(whats(window).size(), 3u);
}

TEST_F(Actions, AWindowWithALargerMinimumSizeIsReappliedTwiceThenCentredOnTheTarget) {
    track({.id = 21, .frame = {500, 500, 800, 600}});
    sys.setMinimumSize(window, {800, 600});
    perform(WindowAction::place({0, 0, 400, 300}, true));
    EXPECT_EQ(countOf(window, "focused=true"), 1);
    advance(0.25);  // moved but too large: again, without focus
    EXPECT_EQ(countOf(window, "size=(400, 300)"), 2);
    EXPECT_EQ(countOf(window, "focused=true"), 1);
    advance(0.25);  // no reaction this time: again, with the focus first intended
    EXPECT_EQ(countOf(window, "size=(400, 300)"), 3);
    EXPECT_EQ(countOf(window, "focused=true"), 2);
    advance(0.25);  // out of retries: centred on the target at its own size
    EXPECT_EQ(whats(window).back(), "position=(-200, -150)");
    advance(AXWorker::kDebounce);
    EXPECT_EQ(info().frame, (RectTL{-200, -150, 800, 600}));
    advance(3);
    EXPECT_EQ(countOf(window, "size=(400, 300)"), 3);
}

TEST_F(Actions, WhereTheSystemSetsAFrameInOneStepAPlacementAndItsCentringAreOneStepEach) {
    sys.setWritesFramesAtOnce(true);
    track({.id = 21, .frame = {500, 500, 800, 600}});
    sys.setMinimumSize(window, {800, 600});
    perform(WindowAction::place({0, 0, 400, 300}, false));
    EXPECT_EQ(whats(window), (std::vector<std::string>{"size=(400, 300)", "position=(0, 0)"}));
    advance(0.75);  // three tries, then centred at its own size, never moved alone
    EXPECT_EQ(countOf(window, "size=(400, 300)"), 3);
    EXPECT_EQ(countOf(window, "position=(0, 0)"), 3);
    const std::vector<std::string> all = whats(window);
    const std::vector<std::string> last(all.end() - 2, all.end());
    EXPECT_EQ(last, (std::vector<std::string>{"size=(800, 600)", "position=(-200, -150)"}));
    advance(AXWorker::kDebounce);
    EXPECT_EQ(info().frame, (RectTL{-200, -150, 800, 600}));
}

TEST_F(Actions, ANewerPlacementOfTheWindowIsNotUndoneByTheCheckOfAnOlderOne) {
    // Tiled alone, then at once with two more: the check of the first placement must not
    // pull the window back to its old cell, nor centre it there.
    track({.id = 21, .frame = {500, 500, 400, 300}});
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    advance(0.1);
    perform(WindowAction::place({0, 0, 960, 540}, false));
    advance(3);
    EXPECT_EQ(countOf(window, "size=(960, 1080)"), 1);
    EXPECT_EQ(countOf(window, "size=(960, 540)"), 1);
    advance(AXWorker::kDebounce);
    EXPECT_EQ(info().frame, (RectTL{0, 0, 960, 540}));

    // Its own checks still correct it afterwards.
    sys.setMinimumSize(window, {960, 600});
    perform(WindowAction::place({0, 0, 960, 540}, false));
    advance(3);
    EXPECT_EQ(countOf(window, "size=(960, 540)"), 4) << "the refused size is tried twice more";
}

TEST_F(Actions, AWindowThatRefusesToMoveIsTriedThreeTimesThenLeftWhereItIs) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    sys.setWriteAnswer(window, Attribute::position, SimWindowSystem::WriteAnswer::ignored);
    sys.setWriteAnswer(window, Attribute::size, SimWindowSystem::WriteAnswer::ignored);
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    advance(5);
    EXPECT_EQ(countOf(window, "position=(0, 0)"), 6);
    EXPECT_EQ(countOf(window, "size=(960, 1080)"), 3);
    EXPECT_EQ(whats(window).size(), 9u);
    EXPECT_EQ(info().frame, (RectTL{100, 100, 400, 300}));
}

TEST_F(Actions, AWindowThatOnlyRefusesItsPositionGetsThePositionWrittenOnceMore) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    sys.setWriteAnswer(window, Attribute::position, SimWindowSystem::WriteAnswer::ignored);
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    advance(5);
    // Three applications of three writes, then the position alone.
    EXPECT_EQ(whats(window).size(), 10u);
    EXPECT_EQ(whats(window).back(), "position=(0, 0)");
}

TEST_F(Actions, VerificationWaitsOutAHeldButtonFiveTimesThenGivesUp) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    sys.setWriteAnswer(window, Attribute::position, SimWindowSystem::WriteAnswer::ignored);
    w.world.input.setPressedButtons(kLeftButton);
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    advance(0.25 + 5 * 0.3 + 0.01);  // checks at 0.25, then five more 0.3 s apart
    w.world.input.setPressedButtons(0);
    advance(5);
    // Abandoned: the refused position is never written again.
    EXPECT_EQ(whats(window).size(), 3u);
}

TEST_F(Actions, PlacingAFullScreenWindowLeavesFullScreenFirst) {
    track({.id = 21, .frame = {0, 0, 1920, 1080}, .fullScreen = true});
    sys.setWriteDelay(window, Attribute::fullScreen, 0.5);
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    EXPECT_EQ(whats(window), std::vector<std::string>{"fullScreen=false"});
    advance(0.5);  // looked at 0.3, 0.36, 0.42, 0.48
    EXPECT_EQ(whats(window).size(), 1u);
    advance(0.04);
    EXPECT_EQ(whats(window).size(), 4u);
    advance(AXWorker::kDebounce);
    EXPECT_FALSE(info().isFullscreen);
    EXPECT_EQ(info().frame, (RectTL{0, 0, 960, 1080}));
}

TEST_F(Actions, PlacingAMinimizedWindowRestoresItFirstAndGivesUpWaitingAtTheCap) {
    track({.id = 21, .frame = {100, 100, 400, 300}, .onScreen = false, .minimized = true});
    sys.setWriteDelay(window, Attribute::minimized, 5);
    perform(WindowAction::place({0, 0, 960, 1080}, false));
    advance(0.99);
    EXPECT_EQ(whats(window).size(), 1u);
    advance(0.06);
    EXPECT_EQ(whats(window).size(), 4u);
}

TEST_F(Actions, CloseHasTheCloseButtonPressedAndAWindowWithoutOneStays) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    const ElementRef plain = sys.addWindow(kApp, {.id = 22, .frame = {0, 0, 50, 50}, .closable = false});
    w.worker.requestReconcile();
    advance(AXWorker::kDebounce);
    ASSERT_EQ(w.published.back().windows.size(), 2u);

    w.worker.perform(WindowAction::close(), w.published.back().windows[1]);
    advance(AXWorker::kDebounce);
    EXPECT_TRUE(sys.calls(plain).empty());
    ASSERT_EQ(w.published.back().windows.size(), 2u);

    perform(WindowAction::close());
    advance(AXWorker::kDebounce);
    ASSERT_EQ(w.published.back().windows.size(), 1u);
    EXPECT_EQ(w.published.back().windows[0].id, 22u);
}

TEST_F(Actions, StaleRequestsAreDroppedWithOneLogLineAndTouchNothing) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    const WindowInfo known = info();

    WindowInfo unknown = known;
    unknown.id = 99;  // from an outdated snapshot
    w.worker.perform(WindowAction::raise(), unknown);
    WindowInfo otherOwner = known;
    otherOwner.pid = 11;
    w.worker.perform(WindowAction::close(), otherOwner);
    advance(1);
    EXPECT_EQ(w.world.log.count("Quillbern: AX revalidation failed for window 99 (raise) — action dropped"), 1);
    EXPECT_EQ(w.world.log.count("Quillbern: AX revalidation failed for window 21 (close) — action dropped"), 1);

    // The element now answers to another number.
    sys.setWindowIdAnswer(window, Read<WindowId>::of(23));
    w.worker.perform(WindowAction::setMinimized(true), known);
    advance(1);
    EXPECT_EQ(w.world.log.count("AX revalidation failed for window 21 (setMinimized(true))"), 1);
    EXPECT_TRUE(sys.calls().empty());
    EXPECT_EQ(w.world.log.lines().size(), 3u);

    // A window that closed before the request arrived.
    sys.setWindowIdAnswer(window, Read<WindowId>::of(21));
    sys.removeWindow(window);
    w.worker.perform(WindowAction::raise(), known);
    advance(0.01);
    EXPECT_EQ(w.world.log.count("AX revalidation failed for window 21 (raise)"), 1);
    EXPECT_TRUE(sys.calls().empty());
}

TEST_F(Actions, AWindowThatVanishesMidActionEndsTheActionQuietly) {
    track({.id = 21, .frame = {100, 100, 400, 300}, .onScreen = false, .minimized = true});
    sys.setWriteDelay(window, Attribute::minimized, 5);
    perform(WindowAction::raise());
    advance(0.2);
    sys.removeWindow(window);
    advance(1);  // the settle gives up at the cap and focusing fails harmlessly
    advance(AXWorker::kDebounce);
    EXPECT_TRUE(w.published.back().windows.empty());

    // A placement whose window goes before the check is tried again, then abandoned.
    const ElementRef second = sys.addWindow(kApp, {.id = 22, .frame = {100, 100, 400, 300}});
    w.worker.requestReconcile();
    advance(AXWorker::kDebounce);
    w.worker.perform(WindowAction::place({0, 0, 960, 1080}, false), w.published.back().windows.at(0));
    advance(0.1);
    sys.removeWindow(second);
    advance(5);
    EXPECT_EQ(sys.calls(second).size(), 9u);
    EXPECT_TRUE(w.published.back().windows.empty());
}

TEST_F(Actions, NoDelayedStepRunsAfterShutdown) {
    track({.id = 21, .frame = {100, 100, 400, 300}, .onScreen = false, .minimized = true});
    sys.setWriteDelay(window, Attribute::minimized, 0.5);
    perform(WindowAction::raise());
    w.worker.shutdown();
    advance(3);
    EXPECT_EQ(whats(window), std::vector<std::string>{"minimized=false"});
}

TEST_F(Actions, APlacementWithoutAPositiveSizeIsNeverSent) {
    track({.id = 21, .frame = {100, 100, 400, 300}});
    perform(WindowAction::place({0, 0, 0, 300}, false));
    perform(WindowAction::place({0, 0, 400, -1}, false));
    advance(1);
    EXPECT_TRUE(sys.calls().empty());
    EXPECT_EQ(w.world.log.count("cannot take the frame of place"), 2);
}

}  // namespace
}  // namespace quillbern
