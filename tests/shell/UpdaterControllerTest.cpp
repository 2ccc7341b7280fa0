#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "core/shell/UpdaterController.h"
#include "sim/SimUpdater.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

TEST(Updater, WithoutAnUpdaterNothingCanBeCheckedOrShown) {
    SimWorld world;
    UpdaterController controller(nullptr, world.mainLoop);
    EXPECT_FALSE(controller.hasUpdater());
    EXPECT_FALSE(controller.canCheckForUpdates());
    EXPECT_FALSE(controller.automaticallyChecksForUpdates());
    controller.setAutomaticallyChecksForUpdates(true);
    EXPECT_FALSE(controller.automaticallyChecksForUpdates());
    EXPECT_FALSE(controller.lastUpdateCheckDate());
    controller.checkForUpdates();
}

TEST(Updater, TheUpdaterStartsWithTheControllerAndAnswersThroughIt) {
    SimWorld world;
    SimUpdater updater;
    updater.setCanCheck(true);
    updater.setLastCheck(WallTime{1'800'000'000});
    UpdaterController controller(&updater, world.mainLoop);
    EXPECT_EQ(updater.starts(), 1);
    EXPECT_TRUE(controller.canCheckForUpdates());
    controller.checkForUpdates();
    EXPECT_EQ(updater.checks(), 1);
    controller.setAutomaticallyChecksForUpdates(true);
    EXPECT_TRUE(controller.automaticallyChecksForUpdates());
    EXPECT_EQ(controller.lastUpdateCheckDate(), WallTime{1'800'000'000});
}

TEST(Updater, ARelaunchOnTheMainThreadRunsTheCallbackAtOnceAndWithoutOneDoesNothing) {
    SimWorld world;
    SimUpdater updater;
    UpdaterController controller(&updater, world.mainLoop);
    updater.relaunch();
    int relaunches = 0;
    controller.onWillRelaunch = [&relaunches] { ++relaunches; };
    updater.relaunch();
    EXPECT_EQ(relaunches, 1);
}

TEST(Updater, ARelaunchFromAnotherThreadWaitsForTheCallbackOnTheMainThread) {
    SimWorld world;
    SimUpdater updater;
    UpdaterController controller(&updater, world.mainLoop);
    std::atomic<bool> returned = false;
    std::atomic<bool> ran = false;
    bool returnedBeforeCallback = false;
    const std::thread::id mainThread = std::this_thread::get_id();
    bool ranOnMain = false;
    controller.onWillRelaunch = [&] {
        returnedBeforeCallback = returned;
        ranOnMain = std::this_thread::get_id() == mainThread;
        ran = true;
    };
    std::thread updaterThread([&] {
        updater.relaunch();
        returned = true;
    });
    while (!ran)
        world.runUntilIdle();
    updaterThread.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_FALSE(returnedBeforeCallback);
    EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace quillbern
