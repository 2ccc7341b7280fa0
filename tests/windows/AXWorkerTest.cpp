#include <gtest/gtest.h>

#include "core/windows/AppWatcher.h"
#include "sim/SimLog.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

const std::vector<ElementEvent> kAllEvents(AppWatcher::kEvents.begin(), AppWatcher::kEvents.end());

class Worker : public ::testing::Test {
protected:
    testing::WindowWorld w;
    SimWindowSystem& sys = w.windows;

    void advance(Duration seconds) { w.world.advance(seconds); }
    std::size_t published() const { return w.published.size(); }
    // Starts tracking `apps` and lets the first, debounced pass land.
    void startTracking(TrackedApps apps) {
        w.worker.start();
        w.worker.setApps(std::move(apps));
        advance(AXWorker::kDebounce);
        ASSERT_EQ(published(), 1u);
    }
};

TEST_F(Worker, ABurstOfNotificationsGivesOnePassAfterTheLast) {
    sys.addWindow(10, {.id = 21, .title = "One", .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    advance(0.08);
    for (int i = 0; i < 8; ++i) {
        sys.notify(10, AppWatcher::kEvents[i]);
        advance(0.0125);
    }
    // The last notification arrived 0.0125 s ago.
    advance(AXWorker::kDebounce - 0.0125 - 0.001);
    EXPECT_EQ(published(), 1u);
    advance(0.001);
    EXPECT_EQ(published(), 2u);
    advance(0.5);
    EXPECT_EQ(published(), 2u);
    // A request from the engine is debounced the same way.
    w.worker.requestReconcile();
    w.worker.requestReconcile();
    advance(AXWorker::kDebounce);
    EXPECT_EQ(published(), 3u);
}

TEST_F(Worker, ThePeriodicPassRunsWithoutNotificationsAndIsNotDebounced) {
    const ElementRef window = sys.addWindow(10, {.id = 21, .title = "One", .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    // A title change that sends no notification.
    sys.set(window, Attribute::title, std::string("Two"));
    advance(AXWorker::kPeriodicInterval - AXWorker::kDebounce - 0.001);
    EXPECT_EQ(published(), 1u);
    advance(0.001);
    ASSERT_EQ(published(), 2u);
    EXPECT_EQ(w.published.back().windows.at(0).title, "Two");
    advance(2 * AXWorker::kPeriodicInterval);
    EXPECT_EQ(published(), 4u);
    // Unchanged snapshots are still published: telling changes apart is the engine's work.
    EXPECT_EQ(w.published[2], w.published[3]);
}

TEST_F(Worker, TheOnScreenPollCatchesASilentChangeOfTheOnScreenSet) {
    const ElementRef window = sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    EXPECT_TRUE(w.published.back().windows.at(0).isOnScreen);
    // A move alone keeps the set: the poll does not react.
    sys.setFrame(window, {5, 5, 10, 10});
    advance(1.0 - AXWorker::kDebounce + 0.5);
    EXPECT_EQ(published(), 1u);
    sys.setOnScreen(window, false);
    advance(0.5);  // poll at 2.0 s
    EXPECT_EQ(published(), 1u);
    advance(AXWorker::kDebounce);
    ASSERT_EQ(published(), 2u);
    EXPECT_FALSE(w.published.back().windows.at(0).isOnScreen);
    // Another application's window appearing counts too.
    sys.addListedWindow({500, 0, RectTL{0, 0, 1, 1}});
    advance(1.0 + AXWorker::kDebounce);
    EXPECT_EQ(published(), 3u);
}

TEST_F(Worker, WatchersAreInstalledForTrackedApplicationsAndRemovedWhenTheyLeave) {
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    EXPECT_EQ(sys.observerCount(10), 1);
    EXPECT_EQ(sys.addedEvents(10), kAllEvents);
    EXPECT_EQ(sys.timeout(sys.appElement(10)), kMessagingTimeout);
    EXPECT_EQ(sys.timeout(sys.systemWideElement()), kMessagingTimeout);

    w.worker.setApps({{11, "B"}});
    w.world.runUntilIdle();
    EXPECT_EQ(sys.observerCount(10), 0);
    EXPECT_EQ(sys.removedEvents(10), kAllEvents);
    EXPECT_EQ(sys.observerCount(11), 1);
    // A notification of an application no longer watched changes nothing.
    advance(AXWorker::kDebounce);
    const std::size_t before = published();
    sys.notify(10, ElementEvent::windowCreated);
    advance(AXWorker::kDebounce);
    EXPECT_EQ(published(), before);
}

TEST_F(Worker, ARefusedObserverIsRetriedAtTheNextSetAppsOrRebuild) {
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    sys.setRefusesObserver(10, true);
    startTracking({{10, "A"}});
    EXPECT_EQ(sys.observerCount(10), 0);
    // Still part of every pass.
    EXPECT_EQ(w.published.back().windows.size(), 1u);

    w.worker.setApps({{10, "A"}});
    w.world.runUntilIdle();
    EXPECT_EQ(sys.observerCount(10), 0);
    sys.setRefusesObserver(10, false);
    w.worker.rebuildWatchers();
    w.world.runUntilIdle();
    EXPECT_EQ(sys.observerCount(10), 1);
    sys.notify(10, ElementEvent::titleChanged);
    const std::size_t before = published();
    advance(AXWorker::kDebounce);
    EXPECT_EQ(published(), before + 1);
}

TEST_F(Worker, WithoutTrustWatchersStayAsTheyAreUntilRebuilt) {
    startTracking({{10, "A"}});
    w.permissions.setWindowAccessTrusted(false);
    w.worker.setApps({{11, "B"}});
    w.world.runUntilIdle();
    EXPECT_EQ(sys.observerCount(10), 1);
    EXPECT_EQ(sys.observerCount(11), 0);

    w.permissions.setWindowAccessTrusted(true);
    w.worker.rebuildWatchers();
    w.world.runUntilIdle();
    EXPECT_EQ(sys.observerCount(10), 0);
    EXPECT_EQ(sys.observerCount(11), 1);
    // Rebuilding removes every observer first, even one it then installs again.
    w.worker.rebuildWatchers();
    w.world.runUntilIdle();
    EXPECT_EQ(sys.removedEvents(11), kAllEvents);
    EXPECT_EQ(sys.observerCount(11), 1);
}

TEST_F(Worker, FailureCountsAreKeptPerApplicationAndForgottenWhenItLeaves) {
    const ElementRef a = sys.addApp(10);
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    sys.addWindow(11, {.id = 40, .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}, {11, "B"}});
    const auto passes = [this](int count) {
        for (int i = 0; i < count; ++i) {
            w.worker.requestReconcile();
            advance(AXWorker::kDebounce);
        }
    };
    sys.failReads(a, Attribute::windows, -1);
    passes(3);
    EXPECT_EQ(w.published.back().windows.size(), 2u);

    // Leaving and coming back before the next pass resets its count, not its windows.
    w.worker.setApps({{11, "B"}});
    w.worker.setApps({{10, "A"}, {11, "B"}});
    advance(AXWorker::kDebounce);
    passes(3);
    EXPECT_EQ(w.published.back().windows.size(), 2u);
    passes(1);
    ASSERT_EQ(w.published.back().windows.size(), 1u);
    EXPECT_EQ(w.published.back().windows[0].id, 40u);
}

TEST_F(Worker, AfterShutdownNothingRunsEvenWorkAlreadyScheduled) {
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    sys.notify(10, ElementEvent::windowMoved);
    advance(0.05);  // a debounced pass is pending
    w.worker.requestReconcile();
    w.worker.shutdown();
    w.worker.setApps({{11, "B"}});
    advance(10);
    EXPECT_EQ(published(), 1u);
    EXPECT_EQ(sys.observerCount(10), 0);
    EXPECT_EQ(sys.removedEvents(10), kAllEvents);
    EXPECT_EQ(sys.observerCount(11), 0);
    sys.notify(10, ElementEvent::windowMoved);
    advance(10);
    EXPECT_EQ(published(), 1u);
}

TEST_F(Worker, OperationsBeforeStartAreDroppedAndStartHappensOnce) {
    w.worker.setApps({{10, "A"}});
    advance(3);
    w.worker.start();
    w.worker.start();
    ASSERT_EQ(w.threads.starts().size(), 1u);
    EXPECT_EQ(w.threads.starts()[0].name, "quillbern.ax");
    EXPECT_EQ(w.threads.starts()[0].readyTimeout, AXWorker::kWaitLimit);
    advance(AXWorker::kPeriodicInterval - 0.001);
    EXPECT_EQ(published(), 0u);
    EXPECT_EQ(sys.observerCount(10), 0);
    // The periodic pass runs from the start, over no applications yet.
    advance(0.001);
    ASSERT_EQ(published(), 1u);
    EXPECT_EQ(w.published[0], WindowSnapshot::empty());
}

TEST_F(Worker, AWorkerWhoseThreadCannotStartLogsAndStaysInert) {
    SimLog log;
    w.threads.setRefusesStart(true);
    w.worker.start();
    EXPECT_TRUE(log.contains("the window worker thread did not start"));
    w.worker.setApps({{10, "A"}});
    w.worker.shutdown();
    advance(5);
    EXPECT_EQ(published(), 0u);
    EXPECT_EQ(sys.observerCount(10), 0);
}

TEST(WorkerPublish, SnapshotsArePublishedOnTheWorkerNotOnTheMainLoop) {
    testing::WindowWorld w;
    w.windows.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    std::vector<bool> onMain;
    ManualRunLoop* const main = &w.world.mainLoop;
    AXWorker worker(
        w.ports(), [&](const WindowSnapshot&) { onMain.push_back(main->isCurrent()); }, [](Pid) {});
    worker.start();
    worker.setApps({{10, "A"}});
    w.world.advance(AXWorker::kDebounce);
    ASSERT_EQ(onMain, std::vector<bool>{false});
    worker.shutdown();
    w.world.runUntilIdle();
}

}  // namespace
}  // namespace quillbern
