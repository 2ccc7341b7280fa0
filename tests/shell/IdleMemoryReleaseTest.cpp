#include <gtest/gtest.h>

#include "core/shell/IdleMemoryRelease.h"
#include "shell/ShellWorld.h"
#include "sim/ManualRunLoop.h"

namespace quillbern {
namespace {

using testing::ShellWorld;

TEST(IdleMemoryRelease, ABurstOfChangesReleasesOnceWhenItHasSettledAndNothingWaitsAtRest) {
    SimClock clock;
    ManualRunLoop loop(clock);
    loop.setIsMainLoop(true);
    SimAppProcess process;
    Signal<> changes;
    IdleMemoryRelease release(loop, clock, process);
    release.watch(changes);

    clock.advance(600);
    EXPECT_FALSE(release.isWaiting());
    for (int i = 0; i < 40; ++i) {
        changes.emit();
        clock.advance(IdleMemoryRelease::kQuietSpell / 4);
    }
    EXPECT_EQ(process.releaseCount(), 0) << "not while the burst goes on";
    clock.advance(IdleMemoryRelease::kQuietSpell * 3 / 4 - 0.01);
    EXPECT_EQ(process.releaseCount(), 0);
    clock.advance(0.02);
    EXPECT_EQ(process.releaseCount(), 1);
    EXPECT_FALSE(release.isWaiting());
    clock.advance(3600);
    EXPECT_EQ(process.releaseCount(), 1);
}

TEST(IdleMemoryRelease, ApplicationsThatCameAndWentGiveTheirMemoryBackOnceTheDesktopIsQuiet) {
    ShellWorld w;
    w.launch();
    w.advance(60);
    const int atRest = w.process.releaseCount();
    for (Pid pid = 100; pid < 130; ++pid) {
        RunningApp app;
        app.pid = pid;
        app.name = "Client";
        w.world.apps.launch(app);
        w.advance(0.5);
        w.world.apps.terminate(pid);
        w.advance(0.5);
    }
    EXPECT_EQ(w.process.releaseCount(), atRest);
    w.advance(IdleMemoryRelease::kQuietSpell);
    EXPECT_EQ(w.process.releaseCount(), atRest + 1);
    w.advance(3600);
    EXPECT_EQ(w.process.releaseCount(), atRest + 1);
}

}  // namespace
}  // namespace quillbern
