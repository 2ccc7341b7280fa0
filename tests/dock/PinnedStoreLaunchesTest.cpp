#include <gtest/gtest.h>

#include "core/dock/PinnedStoreLaunches.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

TEST(PinnedStoreLaunches, TellsTheBeaconWhatTheDockStoreIsLaunching) {
    testing::DockTestWorld w;
    w.world.catalog.install("/apps/Editor.app", {"org.example.Editor", std::nullopt, std::nullopt, "Editor"});
    w.world.files.addDirectory("/apps/Editor.app");
    w.open({simDock(1, DockEdge::bottom)});
    PinnedStoreLaunches launches(w.pinned());
    int changes = 0;
    const Subscription changed = launches.onLaunchingChanged([&changes] { ++changes; });
    EXPECT_FALSE(launches.isLaunching("org.example.Editor"));

    w.pinned().launchOrActivate("org.example.Editor", std::nullopt);
    EXPECT_TRUE(launches.isLaunching("org.example.Editor"));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(launches.icon(PinnedApp{"org.example.Editor", "Editor", std::nullopt}),
              w.pinned().icon(PinnedApp{"org.example.Editor", "Editor", std::nullopt}));
    w.world.advance(PinnedStore::kLaunchExpiry);
    EXPECT_FALSE(launches.isLaunching("org.example.Editor"));
}

}  // namespace
}  // namespace quillbern
