#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

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

// Where every change is announced, the polls rest while nothing changes and a change
// lands in the same pass, at the same moment, as where they poll on.
TEST(QuietWorker, PublishesEveryChangeWhenAPollingOneWouldAndReadsNothingMeanwhile) {
    struct Change {
        double at;
        std::function<void(SimWindowSystem&)> act;
    };
    std::map<std::string, ElementRef> windows;
    const std::vector<Change> script{
        {0.73, [&](SimWindowSystem& s) { s.set(windows["21"], Attribute::title, std::string("Renamed")); }},
        {1.41,
         [&](SimWindowSystem& s) {
             s.setFrame(windows["21"], {40, 40, 300, 200});
         }},
        {3.07, [&](SimWindowSystem& s) { s.setOnScreen(windows["21"], false); }},
        {4.9,
         [&](SimWindowSystem& s) {
             s.setFrame(windows["21"], {80, 80, 300, 200});
             s.notify(10, ElementEvent::windowMoved);
         }},
        {6.33,
         [&](SimWindowSystem& s) {
             windows["40"] = s.addWindow(11, {.id = 40, .frame = {5, 5, 50, 50}});
         }},
        {7.05, [&](SimWindowSystem& s) { s.removeWindow(windows["21"]); }},
        // Five failed passes in a row drop B's windows; they come back with the next good one.
        {9.51, [&](SimWindowSystem& s) { s.failReads(s.appElement(11), Attribute::windows, -1); }},
        {19.2,
         [&](SimWindowSystem& s) {
             s.addListedWindow({500, 0, RectTL{0, 0, 1, 1}});
         }},
        {22.01, [&](SimWindowSystem& s) { s.failReads(s.appElement(11), Attribute::windows, 0); }},
    };
    const auto run = [&](bool reportsEveryChange, int& readsWhileQuiet) {
        testing::WindowWorld w;
        w.windows.setReportsEveryChange(reportsEveryChange);
        windows["21"] = w.windows.addWindow(10, {.id = 21, .title = "One", .frame = {0, 0, 300, 200}});
        w.windows.addApp(11);
        w.worker.start();
        w.worker.setApps({{10, "A"}, {11, "B"}});
        std::vector<std::pair<int, WindowSnapshot>> changes;
        std::size_t next = 0;
        for (int ms = 0; ms <= 30'000; ms += 10) {
            while (next < script.size() && int(script[next].at * 1000) <= ms)
                script[next++].act(w.windows);
            if (ms == 25'000) readsWhileQuiet = w.windows.readCount();
            w.world.advance(0.01);
            for (const WindowSnapshot& snapshot : w.published) {
                if (changes.empty() || !(changes.back().second == snapshot)) changes.emplace_back(ms, snapshot);
            }
            w.published.clear();
        }
        readsWhileQuiet = w.windows.readCount() - readsWhileQuiet;
        return changes;
    };
    int pollingReads = 0;
    int quietReads = 0;
    const auto polling = run(false, pollingReads);
    const auto quiet = run(true, quietReads);
    ASSERT_EQ(quiet.size(), polling.size());
    EXPECT_EQ(polling.size(), 7u);
    for (std::size_t i = 0; i < quiet.size(); ++i) {
        EXPECT_EQ(quiet[i].first, polling[i].first) << "change " << i;
        EXPECT_EQ(quiet[i].second, polling[i].second) << "change " << i;
    }
    EXPECT_GT(pollingReads, 0);
    EXPECT_EQ(quietReads, 0) << "nothing changed in the last five seconds";
}

TEST_F(Worker, QuietPollsResumeOnTheirGridAfterAChange) {
    sys.setReportsEveryChange(true);
    const ElementRef window = sys.addWindow(10, {.id = 21, .frame = {0, 0, 10, 10}});
    startTracking({{10, "A"}});
    advance(10);
    EXPECT_EQ(published(), 1u) << "nothing changed, nothing passed";
    // 10.12 s from the start: the on-screen poll comes at 11 s, the periodic pass at 12.5 s.
    sys.setOnScreen(window, false);
    advance(0.88 - 0.001);
    EXPECT_EQ(published(), 1u);
    advance(0.001 + AXWorker::kDebounce);
    EXPECT_EQ(published(), 2u) << "the poll saw it and asked for a pass";
    advance(5);
    EXPECT_EQ(published(), 2u) << "the pass read it all: nothing left for the periodic one";

    sys.set(window, Attribute::title, std::string("Silent"));
    advance(17.5 - 16.12 - 0.001);
    EXPECT_EQ(published(), 2u);
    advance(0.001);
    ASSERT_EQ(published(), 3u);
    EXPECT_EQ(w.published.back().windows.at(0).title, "Silent");
}

TEST_F(Worker, ABackendReportingOffTheWorkersLoopStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    sys.setReportsEveryChange(true);
    startTracking({{10, "A"}});
    // The test's thread stands for the backend's own: the main loop's, not the worker's.
    EXPECT_DEATH(sys.reportChangeOffItsLoop(), "called off the loop it lives on");
#endif
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
