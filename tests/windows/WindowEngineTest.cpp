#include <gtest/gtest.h>

#include "core/windows/WindowEngine.h"
#include "sim/SimRunningApps.h"
#include "sim/SimSessionEvents.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

RunningApp regular(Pid pid, std::optional<std::string> name) {
    return {pid, std::move(name), ActivationPolicy::regular};
}

class Engine : public ::testing::Test {
protected:
    testing::WindowWorld w;
    SimWindowSystem& sys = w.windows;
    SimRunningApps apps;
    SimSessionEvents session;
    WindowEngine engine{{.worker = w.ports(),
                         .apps = apps,
                         .session = session,
                         .screens = w.world.screens,
                         .mainLoop = w.world.mainLoop}};
    std::vector<WindowSnapshot> changes;
    int trustChanges = 0;
    int snapshotSignals = 0;
    int trustSignals = 0;
    Subscription snapshotObserver = engine.snapshotChanged.connect([this] { ++snapshotSignals; });
    Subscription trustObserver = engine.trustChanged.connect([this] { ++trustSignals; });

    void SetUp() override {
        engine.onSnapshotChange = [this](const WindowSnapshot& snapshot) { changes.push_back(snapshot); };
        engine.onTrustChange = [this] { ++trustChanges; };
    }
    void TearDown() override {
        engine.stop();
        w.world.runUntilIdle();
    }
    void advance(Duration seconds) { w.world.advance(seconds); }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const WindowInfo& window : engine.snapshot().windows)
            result.push_back(window.title);
        return result;
    }
};

TEST_F(Engine, OnlyAChangedWindowListIsStoredAndAnnounced) {
    WindowInfo window{.id = 21, .pid = 10, .appName = "Editor", .title = "One"};
    engine.apply(WindowSnapshot{{window}});
    engine.apply(WindowSnapshot{{window}});
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(snapshotSignals, 1);

    window.title = "Two";
    engine.apply(WindowSnapshot{{window}});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes.back(), engine.snapshot());
    EXPECT_EQ(snapshotSignals, 2);

    engine.apply(WindowSnapshot::empty());
    engine.apply(WindowSnapshot::empty());
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_TRUE(engine.snapshot().windows.empty());
}

TEST_F(Engine, TracksRegularApplicationsAndAnnouncesOnlyReconciliationsThatChangeSomething) {
    sys.addWindow(10, {.id = 21, .title = "Notes", .frame = {0, 0, 100, 100}});
    sys.addWindow(11, {.id = 22, .title = "Tray", .frame = {0, 0, 10, 10}});
    apps.launch(regular(10, std::nullopt));
    apps.launch({11, "Helper", ActivationPolicy::accessory});
    engine.start();
    ASSERT_NE(engine.worker(), nullptr);
    advance(AXWorker::kDebounce);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(engine.snapshot().windows.size(), 1u);
    EXPECT_EQ(engine.snapshot().windows[0].appName, "?");

    // Periodic passes that find the same windows cost nothing.
    advance(3 * AXWorker::kPeriodicInterval);
    EXPECT_EQ(changes.size(), 1u);

    // A regular application joins and leaves; an accessory does not join.
    sys.addWindow(12, {.id = 23, .title = "Draw", .frame = {0, 0, 100, 100}});
    sys.addWindow(13, {.id = 24, .title = "Agent", .frame = {0, 0, 100, 100}});
    apps.launch({13, "Agent", ActivationPolicy::prohibited});
    apps.launch(regular(12, "Paint"));
    advance(AXWorker::kDebounce);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Notes", "Draw"}));
    apps.terminate(12);
    advance(AXWorker::kDebounce);
    EXPECT_EQ(titles(), std::vector<std::string>{"Notes"});
    EXPECT_EQ(changes.size(), 3u);

    // Known anew, as its entry was installed: its windows carry the new name.
    apps.reidentify(regular(10, "Notebook"));
    advance(AXWorker::kDebounce);
    ASSERT_EQ(engine.snapshot().windows.size(), 1u);
    EXPECT_EQ(engine.snapshot().windows[0].appName, "Notebook");
}

TEST_F(Engine, SessionAndDisplayEventsAskForAReconciliation) {
    const ElementRef window = sys.addWindow(10, {.id = 21, .title = "One", .frame = {0, 0, 100, 100}});
    apps.launch(regular(10, "Editor"));
    engine.start();
    advance(AXWorker::kDebounce);
    int title = 0;
    const auto changeSilently = [&] { sys.set(window, Attribute::title, "T" + std::to_string(++title)); };
    const auto expectSeenAfterDebounce = [&](const char* event) {
        advance(AXWorker::kDebounce);
        EXPECT_EQ(titles(), std::vector<std::string>{"T" + std::to_string(title)}) << event;
    };
    for (const SessionEvent event : {SessionEvent::didWake, SessionEvent::desktopChanged, SessionEvent::screenLocked,
                                     SessionEvent::screenUnlocked}) {
        changeSilently();
        session.fire(event);
        expectSeenAfterDebounce("session event");
    }
    changeSilently();
    w.world.screens.fireChanged();
    expectSeenAfterDebounce("display change");
    changeSilently();
    apps.activateByUser(10);
    expectSeenAfterDebounce("activation");
    // All of that well inside the first periodic pass.
    EXPECT_LT(6 * AXWorker::kDebounce, AXWorker::kPeriodicInterval);
}

TEST_F(Engine, AGrantFoundByThePollRebuildsWatchersAndFillsTheSnapshot) {
    w.permissions.setWindowAccessTrusted(false);
    WindowEngine untrusted{{.worker = w.ports(),
                            .apps = apps,
                            .session = session,
                            .screens = w.world.screens,
                            .mainLoop = w.world.mainLoop}};
    int calls = 0;
    untrusted.onTrustChange = [&] { ++calls; };
    EXPECT_FALSE(untrusted.isTrusted());
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 100, 100}});
    sys.setUnresponsive(10, true);  // without trust every read fails
    apps.launch(regular(10, "Editor"));
    untrusted.start();
    advance(AXWorker::kDebounce);
    EXPECT_EQ(sys.observerCount(10), 0);
    EXPECT_TRUE(untrusted.snapshot().windows.empty());

    w.permissions.setWindowAccessTrusted(true);
    sys.setUnresponsive(10, false);
    advance(1.0 - AXWorker::kDebounce);
    EXPECT_TRUE(untrusted.isTrusted());
    EXPECT_EQ(calls, 1);
    advance(0);
    EXPECT_EQ(sys.observerCount(10), 1);
    advance(AXWorker::kDebounce);
    EXPECT_EQ(untrusted.snapshot().windows.size(), 1u);

    // A revocation is told, and leaves the watchers in place.
    w.permissions.setWindowAccessTrusted(false);
    advance(1.0);
    EXPECT_FALSE(untrusted.isTrusted());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(sys.observerCount(10), 1);
    advance(5);
    EXPECT_EQ(calls, 2);
    untrusted.stop();
    w.world.runUntilIdle();
}

TEST_F(Engine, TrustChangesReachObserversAndTheCallback) {
    engine.start();
    w.permissions.setWindowAccessTrusted(false);
    advance(0.5);
    EXPECT_TRUE(engine.isTrusted());
    advance(0.5);
    EXPECT_FALSE(engine.isTrusted());
    EXPECT_EQ(trustChanges, 1);
    EXPECT_EQ(trustSignals, 1);
    advance(3);
    EXPECT_EQ(trustChanges, 1);
}

TEST_F(Engine, WhereTheSystemTellsTrustChangesTheyArriveAtOnceAndNothingPolls) {
    w.permissions.setTellsTrustChanges(true);
    engine.start();
    w.world.runUntilIdle();
    const int reads = w.permissions.trustReads();
    advance(10);
    EXPECT_EQ(w.permissions.trustReads(), reads);
    w.permissions.setWindowAccessTrusted(false);
    EXPECT_FALSE(engine.isTrusted());
    EXPECT_EQ(trustChanges, 1);
    w.permissions.setWindowAccessTrusted(true);
    EXPECT_TRUE(engine.isTrusted());
    EXPECT_EQ(trustChanges, 2);
    engine.stop();
    w.permissions.setWindowAccessTrusted(false);
    EXPECT_TRUE(engine.isTrusted()) << "no longer followed";
}

TEST_F(Engine, TheWorkersFallbackActivationGoesToTheRunningApplication) {
    const ElementRef app = sys.addApp(10);
    sys.addWindow(10, {.id = 21, .frame = {0, 0, 100, 100}});
    sys.setWriteAnswer(app, Attribute::frontmost, SimWindowSystem::WriteAnswer::refused);
    apps.launch(regular(10, "Editor"));
    engine.start();
    advance(AXWorker::kDebounce);

    // Callers post actions to the worker and call the hooks themselves; the engine never does.
    int raiseHooks = 0;
    int placeHooks = 0;
    engine.onRaiseRequest = [&](const WindowInfo&) { ++raiseHooks; };
    engine.onPlaceRequest = [&](const WindowInfo&, const RectTL&) { ++placeHooks; };
    const WindowInfo target = engine.snapshot().windows.at(0);
    engine.worker()->perform(WindowAction::raise(), target);
    engine.worker()->perform(WindowAction::place({0, 0, 500, 500}, false), target);
    advance(1);
    EXPECT_EQ(apps.activations(), std::vector<Pid>{10});
    EXPECT_EQ(raiseHooks, 0);
    EXPECT_EQ(placeHooks, 0);
    engine.onRaiseRequest(target);
    EXPECT_EQ(raiseHooks, 1);

    // An application gone by the time the request arrives is not asked.
    apps.terminate(10);
    engine.worker()->perform(WindowAction::raise(), target);
    advance(0.01);
    EXPECT_EQ(apps.activations(), std::vector<Pid>{10});
}

TEST_F(Engine, AfterStopNothingReachesTheEngine) {
    const ElementRef window = sys.addWindow(10, {.id = 21, .title = "One", .frame = {0, 0, 100, 100}});
    apps.launch(regular(10, "Editor"));
    engine.start();
    advance(AXWorker::kDebounce);
    ASSERT_EQ(changes.size(), 1u);
    engine.stop();
    EXPECT_EQ(engine.worker(), nullptr);
    EXPECT_EQ(session.listenerCount(SessionEvent::didWake), 0u);

    sys.set(window, Attribute::title, std::string("Two"));
    apps.launch(regular(12, "Paint"));
    session.fire(SessionEvent::didWake);
    w.permissions.setWindowAccessTrusted(false);
    advance(10);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_TRUE(engine.isTrusted());
    EXPECT_EQ(trustChanges, 0);
    EXPECT_EQ(sys.observerCount(10), 0);
}

}  // namespace
}  // namespace quillbern
