#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {
using Calls = std::vector<std::string>;

// Built by appending: GCC 12 warns falsely about "literal" + std::string.
std::string tag(std::string name, int n, std::string_view suffix = {}) {
    name += std::to_string(n);
    name += suffix;
    return name;
}
}  // namespace

TEST(Signal, SlotsRunInConnectionOrderWithTheArguments) {
    Signal<int, const std::string&> signal;
    Calls calls;
    Subscription a = signal.connect([&](int n, const std::string& s) { calls.push_back(tag("a", n, s)); });
    Subscription b = signal.connect([&](int n, const std::string& s) { calls.push_back(tag("b", n, s)); });
    Subscription c = signal.connect([&](int n, const std::string& s) { calls.push_back(tag("c", n, s)); });

    signal.emit(1, "x");
    signal(2, "y");
    EXPECT_EQ(calls, (Calls{"a1x", "b1x", "c1x", "a2y", "b2y", "c2y"}));
    EXPECT_EQ(signal.connectionCount(), 3u);
}

TEST(Signal, DisconnectingDuringEmission) {
    Signal<> signal;
    Calls calls;
    Subscription self;
    Subscription later;
    Subscription first = signal.connect([&] { calls.push_back("first"); });
    self = signal.connect([&] {
        calls.push_back("self");
        self.reset();
        later.reset();
    });
    Subscription middle = signal.connect([&] { calls.push_back("middle"); });
    later = signal.connect([&] { calls.push_back("later"); });
    Subscription last = signal.connect([&] { calls.push_back("last"); });

    signal.emit();
    EXPECT_EQ(calls, (Calls{"first", "self", "middle", "last"}));
    EXPECT_EQ(signal.connectionCount(), 3u);

    calls.clear();
    signal.emit();
    EXPECT_EQ(calls, (Calls{"first", "middle", "last"}));
}

TEST(Signal, SlotConnectedDuringEmissionWaitsForTheNext) {
    Signal<> signal;
    Calls calls;
    std::vector<Subscription> added;
    Subscription adder = signal.connect([&] {
        calls.push_back("adder");
        if (added.empty()) added.push_back(signal.connect([&] { calls.push_back("added"); }));
    });

    signal.emit();
    EXPECT_EQ(calls, (Calls{"adder"}));
    signal.emit();
    EXPECT_EQ(calls, (Calls{"adder", "adder", "added"}));
}

TEST(Signal, NestedEmissionKeepsTheOuterEmissionsPlace) {
    Signal<int> signal;
    Calls calls;
    Subscription b;
    Subscription a = signal.connect([&](int depth) {
        calls.push_back(tag("a", depth));
        if (depth == 0) signal.emit(1);
    });
    b = signal.connect([&](int depth) {
        calls.push_back(tag("b", depth));
        if (depth == 1) b.reset();
    });
    Subscription c = signal.connect([&](int depth) { calls.push_back(tag("c", depth)); });

    signal.emit(0);
    // b left during the inner emission; the outer one must still reach c, and only once.
    EXPECT_EQ(calls, (Calls{"a0", "a1", "b1", "c1", "c0"}));
    EXPECT_EQ(signal.connectionCount(), 2u);
}

TEST(Signal, OwnerDestroyedFromInsideASlot) {
    struct Store {
        Signal<> changed;
    };
    auto store = std::make_unique<Store>();
    Calls calls;
    Subscription first = store->changed.connect([&] {
        calls.push_back("first");
        store.reset();
    });
    Subscription second = store->changed.connect([&] { calls.push_back("second"); });

    store->changed.emit();
    EXPECT_EQ(store, nullptr);
    EXPECT_EQ(calls, (Calls{"first"}));
    // Subscriptions that outlive their signal end quietly.
    first.reset();
    second.reset();
    EXPECT_FALSE(first);
}

TEST(Signal, SlotThatOwnsSubscriptionsIsReleasedSafely) {
    // A listener kept alive only by its own slots: dropping a slot drops the listener,
    // whose remaining subscription then disconnects while the signal tidies up.
    struct Listener {
        Subscription a;
        Subscription b;
    };
    Signal<> signal;
    int calls = 0;
    auto listener = std::make_shared<Listener>();
    std::weak_ptr<Listener> watch = listener;
    listener->a = signal.connect([&calls, listener] { ++calls; });
    listener->b = signal.connect([&calls] { ++calls; });
    Subscription other = signal.connect([&calls] { ++calls; });
    auto& a = listener->a;
    listener.reset();

    a.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(signal.connectionCount(), 1u);
    signal.emit();
    EXPECT_EQ(calls, 1);

    // The same when the signal itself goes first.
    auto owned = std::make_unique<Signal<>>();
    auto second = std::make_shared<Listener>();
    watch = second;
    second->a = owned->connect([second] {});
    second->b = owned->connect([second] {});
    second.reset();
    owned.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(Signal, AnEmissionOrAConnectionFromAnotherThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Signal<int> changed;
    int heard = 0;
    const Subscription sub = changed.connect([&](int value) { heard += value; });
    EXPECT_DEATH(std::thread([&] { changed.emit(1); }).join(), "called off the thread that owns it");
    EXPECT_DEATH(std::thread([&] { changed(1); }).join(), "called off the thread that owns it");
    EXPECT_DEATH(std::thread([&] { (void)changed.connect([](int) {}); }).join(), "called off the thread that owns it");
    changed.emit(2);
    EXPECT_EQ(heard, 2);
#endif
}

TEST(Subscription, MovesResetsAndOutlivesItsSignal) {
    Subscription kept;
    int calls = 0;
    {
        Signal<> signal;
        Subscription original = signal.connect([&] { ++calls; });
        EXPECT_TRUE(original);

        Subscription moved(std::move(original));
        EXPECT_FALSE(original);
        original.reset();  // an emptied subscription removes nothing
        signal.emit();
        EXPECT_EQ(calls, 1);

        // Assigning over a live subscription ends the old registration.
        Subscription other = signal.connect([&] { calls += 100; });
        moved = std::move(other);
        signal.emit();
        EXPECT_EQ(calls, 101);
        EXPECT_EQ(signal.connectionCount(), 1u);

        moved.reset();
        moved.reset();
        EXPECT_FALSE(moved);
        signal.emit();
        EXPECT_EQ(calls, 101);

        kept = signal.connect([&] { ++calls; });
    }
    EXPECT_TRUE(kept);
    kept.reset();
    EXPECT_FALSE(kept);
}

TEST(Subscription, RemovalRunsOnceEvenWhenItReenters) {
    int removals = 0;
    Subscription subscription;
    subscription = Subscription([&] {
        ++removals;
        subscription.reset();
    });
    subscription.reset();
    subscription.reset();
    EXPECT_EQ(removals, 1);
}

TEST(Lifetime, GuardDoesNothingOnceTheOwnerIsGone) {
    struct Owner {
        Lifetime lifetime;
    };
    auto owner = std::make_unique<Owner>();
    int sum = 0;
    auto add = owner->lifetime.guard([&](int n) { sum += n; });
    const LifetimeToken token = owner->lifetime.token();

    add(2);
    EXPECT_EQ(sum, 2);
    EXPECT_TRUE(token.isAlive());
    owner.reset();
    add(40);
    EXPECT_EQ(sum, 2);
    EXPECT_FALSE(token.isAlive());
    EXPECT_FALSE(LifetimeToken().isAlive());
}

TEST(Lifetime, OnLoopDeliversOnTheLoopWhileTheOwnerLives) {
    struct Owner {
        Lifetime lifetime;
    };
    SimWorld world;
    auto owner = std::make_unique<Owner>();
    std::vector<std::pair<int, bool>> delivered;  // value, delivered on the main loop
    auto callback = onLoop(world.mainLoop, owner->lifetime.token(),
                           [&](int n) { delivered.emplace_back(n, world.mainLoop.isCurrent()); });

    std::thread elsewhere([&] { callback(1); });
    elsewhere.join();
    callback(2);
    EXPECT_TRUE(delivered.empty());
    world.runUntilIdle();
    EXPECT_EQ(delivered, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}}));

    // Posted while alive, but the owner is gone by the time the loop runs it.
    callback(3);
    owner.reset();
    callback(4);
    world.runUntilIdle();
    EXPECT_EQ(delivered.size(), 2u);
}
