#include <gtest/gtest.h>
#include <thread>

#include "DockModelSupport.h"
#include "core/model/TransientDockApps.h"

using namespace quillbern;

namespace {

RunningApp running(Pid pid, std::string appId, std::optional<Path> path = std::nullopt,
                   ActivationPolicy policy = ActivationPolicy::regular) {
    RunningApp app;
    app.pid = pid;
    app.appId = std::move(appId);
    app.appPath = std::move(path);
    app.policy = policy;
    return app;
}

class RunningAndLaunching : public ::testing::Test {
protected:
    RunningAndLaunching() {
        world.catalog.install("/apps/Editor.app", {"editor", std::nullopt, std::nullopt, "Editor"});
        world.files.addDirectory("/apps/Editor.app");
        world.apps.launch(running(10, "finder"));
        world.apps.activateByUser(10);
        store = world.startStore();
    }
    bool launching(const std::string& id) const { return store->launchingBundleIDs().contains(id); }

    DockWorld world;
    std::unique_ptr<PinnedStore> store;
};

}  // namespace

TEST_F(RunningAndLaunching, ALaunchStaysMarkedUntilItsExpiry) {
    store->launchOrActivate("editor", std::nullopt);
    EXPECT_EQ(world.launcher.launchedPaths(), (std::vector<Path>{"/apps/Editor.app"}));
    EXPECT_TRUE(launching("editor"));
    world.advance(7.9);
    EXPECT_TRUE(launching("editor"));
    world.advance(0.1);
    EXPECT_FALSE(launching("editor"));
}

TEST_F(RunningAndLaunching, TheFirstAttemptsExpiryDoesNotEndASecondAttempt) {
    store->launchOrActivate("editor", std::nullopt);
    world.advance(4);
    store->launchOrActivate("editor", std::nullopt);
    world.advance(4);
    EXPECT_TRUE(launching("editor"));
    world.advance(4);
    EXPECT_FALSE(launching("editor"));
}

TEST_F(RunningAndLaunching, SeeingTheApplicationRunEndsItsLaunchBeforeTheExpiry) {
    store->launchOrActivate("editor", std::nullopt);
    world.advance(1);
    world.apps.launch(running(20, "editor", "/apps/Editor.app"));
    EXPECT_FALSE(launching("editor"));
    EXPECT_TRUE(store->runningBundleIDs().contains("editor"));
}

TEST_F(RunningAndLaunching, ARunningApplicationIsActivatedNotMarked) {
    world.apps.launch(running(20, "editor", "/apps/Editor.app"));
    store->launchOrActivate("editor", std::nullopt);
    EXPECT_FALSE(launching("editor"));
    EXPECT_EQ(world.launcher.launchedPaths().size(), 1u);
    // Its generation still advanced: an older attempt's failure no longer counts.
    world.apps.terminate(20);
    store->launchOrActivate("editor", std::nullopt);
    world.launcher.complete(0, Error{"gone", "test", 1});
    world.advance(0.5);
    EXPECT_TRUE(launching("editor"));
}

TEST_F(RunningAndLaunching, AFailedLaunchEndsTheMarkAfterTheReport) {
    store->launchOrActivate("editor", std::nullopt);
    world.launcher.complete(0, Error{"no such program", "test", 2});
    EXPECT_TRUE(launching("editor"));
    world.advance(0.5);
    EXPECT_FALSE(launching("editor"));
}

TEST_F(RunningAndLaunching, AReportFromAnotherThreadIsHandledOnTheMainLoopLater) {
    store->launchOrActivate("editor", std::nullopt);
    std::thread([this] { world.launcher.complete(0, Error{"failed", "test", 3}); }).join();
    EXPECT_TRUE(launching("editor"));
    world.advance(0.49);
    EXPECT_TRUE(launching("editor"));
    world.advance(0.01);
    EXPECT_FALSE(launching("editor"));
}

TEST_F(RunningAndLaunching, AReportArrivingAfterTheStoreIsGoneIsDropped) {
    store->launchOrActivate("editor", std::nullopt);
    world.apps.launch(running(20, "editor", "/apps/Editor.app"));
    store.reset();
    world.launcher.complete(0, {});
    world.advance(10);
    EXPECT_TRUE(world.apps.activations().empty()) << "a live store would bring the editor forward";
}

TEST_F(RunningAndLaunching, TheLaunchedApplicationIsBroughtForwardUnlessTheUserMovedOn) {
    store->launchOrActivate("editor", std::nullopt);
    world.apps.launch(running(20, "editor", "/apps/Editor.app"));
    world.launcher.complete(0, {});
    world.advance(0.5);
    EXPECT_EQ(world.apps.activations(), (std::vector<Pid>{20}));

    world.apps.activateByUser(10);
    store->launchOrActivate("editor", std::nullopt);
    world.apps.launch(running(30, "mail"));
    world.apps.activateByUser(30);
    world.launcher.complete(1, {});
    world.advance(0.5);
    EXPECT_EQ(world.apps.activations(), (std::vector<Pid>{20}));
}

TEST_F(RunningAndLaunching, AnApplicationThatCannotBeFoundBeepsAndLaunchesNothing) {
    store->launchOrActivate("gone", "/apps/Gone.app");
    world.catalog.uninstall("/apps/Editor.app");
    world.files.remove("/apps/Editor.app");
    store->launchOrActivate("editor", std::nullopt);
    EXPECT_EQ(world.alerts.beepCount(), 2);
    EXPECT_TRUE(world.launcher.launchedPaths().empty());
    EXPECT_TRUE(store->launchingBundleIDs().empty());
}

TEST_F(RunningAndLaunching, AStoredPathFindsAnApplicationUnknownByItsIdentity) {
    world.files.addDirectory("/opt/Tool.app");
    store->launchOrActivate("tool", "/opt/Tool.app");
    EXPECT_EQ(world.launcher.launchedPaths(), (std::vector<Path>{"/opt/Tool.app"}));
}

TEST_F(RunningAndLaunching, AProcessInsideAnotherApplicationBelongsToTheOuterOne) {
    world.catalog.install("/apps/Suite.app", {"suite", std::nullopt, std::nullopt, "Suite"});
    world.catalog.install("/apps/Suite.app/Contents/Helper.app", {"helper", std::nullopt, std::nullopt, "Helper"});
    world.apps.launch(running(40, "suite", "/apps/Suite.app"));
    world.apps.launch(running(41, "helper", "/apps/Suite.app/Contents/Helper.app", ActivationPolicy::accessory));
    EXPECT_EQ(store->pids("suite"), (std::set<Pid>{40, 41}));
    EXPECT_TRUE(store->pids("helper").empty());
    EXPECT_TRUE(store->hasRegularProcess("suite"));
    EXPECT_TRUE(store->runningBundleIDs().contains("helper"));

    world.apps.terminate(40);
    EXPECT_FALSE(store->hasRegularProcess("suite"));
    EXPECT_EQ(store->pids("suite"), (std::set<Pid>{41}));
}

TEST_F(RunningAndLaunching, OwnersAreLookedUpOncePerApplicationPath) {
    world.apps.launch(running(40, "a", "/apps/A.app"));
    const int lookups = world.catalog.ownerLookups();
    world.apps.launch(running(41, "a", "/apps/A.app"));
    world.apps.announceAppsChanged();
    world.advance(0);
    EXPECT_EQ(world.catalog.ownerLookups(), lookups);

    // What is kept for a path ends with its last process.
    world.apps.terminate(40);
    EXPECT_EQ(world.catalog.ownerLookups(), lookups);
    world.apps.terminate(41);
    world.apps.launch(running(42, "a", "/apps/A.app"));
    EXPECT_EQ(world.catalog.ownerLookups(), lookups + 1);
}

TEST_F(RunningAndLaunching, AChangeReportedFromAnotherThreadRefreshesTheLookupsOnTheMainLoop) {
    store->launchOrActivate("editor", std::nullopt);
    world.catalog.uninstall("/apps/Editor.app");
    world.catalog.install("/apps2/Editor.app", {"editor", std::nullopt, std::nullopt, "Editor"});
    world.files.addDirectory("/apps2/Editor.app");
    std::thread([this] { world.apps.announceAppsChanged(); }).join();
    store->launchOrActivate("editor", std::nullopt);
    world.advance(0);
    store->launchOrActivate("editor", std::nullopt);
    EXPECT_EQ(world.launcher.launchedPaths(),
              (std::vector<Path>{"/apps/Editor.app", "/apps/Editor.app", "/apps2/Editor.app"}));
}

TEST_F(RunningAndLaunching, TheActivationOrderKeepsTheLatest64WithoutDuplicates) {
    for (Pid pid = 100; pid < 170; ++pid) {
        world.apps.launch(running(pid, "app" + std::to_string(pid)));
        world.apps.activateByUser(pid);
    }
    ASSERT_EQ(store->activationOrder().size(), 64u);
    EXPECT_EQ(store->activationOrder().front(), "app169");
    EXPECT_EQ(store->activationOrder().back(), "app106");
    world.apps.activateByUser(120);
    EXPECT_EQ(store->activationOrder().front(), "app120");
    EXPECT_EQ(store->activationOrder().size(), 64u);
    EXPECT_EQ(std::ranges::count(store->activationOrder(), "app120"), 1);
}

TEST_F(RunningAndLaunching, TheActivationOrderTellsOnlyOfARealChange) {
    world.apps.launch(running(40, "mail"));
    int changes = 0;
    const Subscription counting = store->activationOrderChanged.connect([&changes] { ++changes; });
    world.apps.activateByUser(40);
    world.apps.activateByUser(40);
    EXPECT_EQ(changes, 1) << "already first: nothing moved";
    world.apps.activateByUser(10);
    EXPECT_EQ(store->activationOrder(), (std::vector<AppId>{"finder", "mail"}));
    EXPECT_EQ(changes, 2);
}

TEST_F(RunningAndLaunching, FilesAreOpenedWithAFoundApplicationOnly) {
    store->open({"/home/u/a.txt"}, PinnedApp{"editor", "Editor", std::nullopt});
    store->open({}, PinnedApp{"editor", "Editor", std::nullopt});
    store->open({"/home/u/a.txt"}, PinnedApp{"gone", "Gone", std::nullopt});
    ASSERT_EQ(world.launcher.opened().size(), 1u);
    EXPECT_EQ(world.launcher.opened()[0].appPath, "/apps/Editor.app");
}

TEST_F(RunningAndLaunching, TransientAppsAreOnePerApplicationInWindowOrderWithoutExcludedOwners) {
    world.catalog.install("/apps/Suite.app", {"suite", std::nullopt, std::nullopt, "Suite"});
    world.apps.launch(running(40, "mail"));
    world.apps.launch(running(41, "helper", "/apps/Suite.app/Contents/Helper.app"));
    world.apps.launch(running(42, "browser"));
    world.apps.launch(running(43, "browser"));
    // Without an identity, processes whose windows name one class are one application.
    const auto classed = [this](Pid pid, std::optional<std::string> windowClass) {
        RunningApp app;
        app.pid = pid;
        app.windowClass = std::move(windowClass);
        world.apps.launch(app);
    };
    classed(50, "XTerm");
    classed(51, "XTerm");
    classed(52, std::nullopt);
    classed(53, std::nullopt);
    const auto window = [](WindowId id, Pid pid) {
        WindowInfo info;
        info.id = id;
        info.pid = pid;
        return info;
    };
    const std::vector<WindowInfo> windows{window(1, 42), window(2, 40), window(3, 43), window(4, 41), window(5, 99),
                                          window(6, 51), window(7, 52), window(8, 50), window(9, 53)};
    const auto entries = transientDockApps(windows, *store, {"suite"});
    std::vector<std::string> keys;
    std::vector<Pid> pids;
    for (const TransientDockApp& entry : entries) {
        keys.push_back(entry.key);
        pids.push_back(entry.pid);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"browser", "mail", "class:XTerm", "pid:52", "pid:53"}));
    EXPECT_EQ(pids, (std::vector<Pid>{42, 40, 51, 52, 53})) << "each named by its first window";
    EXPECT_EQ(entries[1].bundleID, "mail");
    EXPECT_EQ(entries[2].bundleID, std::nullopt) << "a class is no identity to pin";
    EXPECT_EQ(applicationProcesses(windows, *store, "browser"), (std::set<Pid>{42, 43}));
    EXPECT_EQ(applicationProcesses(windows, *store, "class:XTerm"), (std::set<Pid>{50, 51}));
}

TEST_F(RunningAndLaunching, IconsAreKeptPerApplicationUntilTheRunningApplicationsChange) {
    const PinnedApp editor{"editor", "Editor", std::nullopt};
    const ImageHandle first = store->icon(editor);
    EXPECT_EQ(SimIcons::tagOf(first), "/apps/Editor.app");
    EXPECT_EQ(store->icon(editor), first) << "the same picture, not asked again";
    EXPECT_EQ(world.icons.requests().size(), 1u);

    // An application that cannot be found has no icon, and the miss is asked again.
    const PinnedApp missing{"missing", "Missing", std::nullopt};
    EXPECT_EQ(store->icon(missing), nullptr);
    world.catalog.install("/apps/Missing.app", {"missing", std::nullopt, std::nullopt, "Missing"});
    EXPECT_EQ(SimIcons::tagOf(store->icon(missing)), "/apps/Missing.app");

    // An update may bring a new picture: a launch or a quit forgets them all.
    world.apps.launch(running(20, "other"));
    world.runUntilIdle();
    EXPECT_NE(store->icon(editor), first);
    EXPECT_EQ(world.icons.requests().size(), 3u);
}

TEST_F(RunningAndLaunching, AnEntryWithoutAPictureShowsItsWindowsPictureElseTheGenericOne) {
    world.icons.withoutIcon("/apps/Editor.app");
    const PinnedApp editor{"editor", "Editor", std::nullopt};
    EXPECT_EQ(SimIcons::tagOf(store->icon(editor)), "generic") << "not running";

    // Running: the picture of a window of its ordinary process, not of its helper's.
    world.icons.giveWindowIcon(30);
    world.icons.giveWindowIcon(31);
    world.apps.launch(running(30, "editor", "/apps/Editor.app", ActivationPolicy::accessory));
    world.apps.launch(running(31, "editor", "/apps/Editor.app"));
    world.runUntilIdle();
    EXPECT_EQ(SimIcons::tagOf(store->icon(editor)), "window:31");
    EXPECT_EQ(SimIcons::tagOf(store->icon(running(31, "editor", "/apps/Editor.app"))), "window:31");

    // A running process without an entry: its window's picture, else the generic one.
    RunningApp tool;
    tool.pid = 40;
    EXPECT_EQ(SimIcons::tagOf(store->icon(tool)), "generic");
    world.icons.giveWindowIcon(41);
    tool.pid = 41;
    EXPECT_EQ(SimIcons::tagOf(store->icon(tool)), "window:41");
    // One with an entry that has a picture shows that.
    EXPECT_EQ(SimIcons::tagOf(store->icon(running(50, "other", "/apps/Other.app"))), "/apps/Other.app");

    // The icon its entry names installed while it runs: the docks ask again and show it.
    int told = 0;
    const Subscription watch = store->iconsChanged.connect([&told] { ++told; });
    world.icons.installIcon("/apps/Editor.app");
    EXPECT_EQ(told, 1);
    EXPECT_EQ(SimIcons::tagOf(store->icon(editor)), "/apps/Editor.app");
    EXPECT_EQ(SimIcons::tagOf(store->icon(running(31, "editor", "/apps/Editor.app"))), "/apps/Editor.app");
}

TEST_F(RunningAndLaunching, ARunningProcessKeepsOnePictureWhileItRunsAndNoneIsHeldAfter) {
    // Windows come and go: each refresh of a dock asks for every running process's icon.
    const auto showAll = [&] {
        for (const RunningApp& app : world.apps.runningApps())
            store->icon(app);
    };
    for (Pid pid = 100; pid < 130; ++pid) {
        world.icons.giveWindowIcon(pid);
        RunningApp tool;
        tool.pid = pid;
        world.apps.launch(tool);
        if (pid >= 105) world.apps.terminate(pid - 5);
        world.runUntilIdle();
        showAll();
        showAll();
    }
    EXPECT_EQ(world.icons.windowIconsMade(), 30u) << "one picture per process";
    EXPECT_EQ(world.icons.windowIconsHeld(), 5u);
    for (Pid pid = 125; pid < 130; ++pid)
        world.apps.terminate(pid);
    world.runUntilIdle();
    EXPECT_EQ(world.icons.windowIconsHeld(), 0u) << "pictures of processes that ended are let go";
}

TEST_F(RunningAndLaunching, AFailedLaunchForgetsTheIcon) {
    const PinnedApp editor{"editor", "Editor", std::nullopt};
    const ImageHandle before = store->icon(editor);
    store->launchOrActivate("editor", std::nullopt);
    world.launcher.complete(0, Error{"no such program", "test", 2});
    world.advance(0.5);
    EXPECT_NE(store->icon(editor), before) << "looked up again after the failure";
}
