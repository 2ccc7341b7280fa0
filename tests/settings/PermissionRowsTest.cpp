#include <gtest/gtest.h>

#include "core/settings/PermissionRows.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"
#include "settings/SettingsTest.h"
#include "sim/SimWindowCapture.h"

using namespace quillbern;

namespace {

struct PermissionRowsTest : quillbern::testing::SettingsTest {
    SimWorld& world = w.world;
    SimWindowCapture& capture = w.capture;

    PreviewStore makePreviews() {
        return PreviewStore({.defaults = world.defaults,
                             .permissions = world.permissions,
                             .launcher = world.launcher,
                             .screens = world.screens,
                             .session = world.session,
                             .capture = capture,
                             .clock = world.clock,
                             .mainLoop = world.mainLoop});
    }
};

}  // namespace

TEST_F(PermissionRowsTest, TheCaptureWarningShowsOnlyWhilePreviewsAreOnWithoutAccess) {
    world.permissions.setCaptureAllowed(false);
    PreviewStore previews = makePreviews();
    EXPECT_FALSE(showsCaptureWarning(previews));

    previews.setEnabled(true);
    world.runUntilIdle();
    EXPECT_EQ(world.permissions.captureRequests(), 1);
    EXPECT_TRUE(showsCaptureWarning(previews));

    previews.setEnabled(false);
    EXPECT_FALSE(showsCaptureWarning(previews));

    previews.setEnabled(true);
    world.permissions.setCaptureAllowed(true);
    world.advance(PreviewStore::kGrantPollInterval);
    EXPECT_TRUE(previews.isGranted());
    EXPECT_FALSE(showsCaptureWarning(previews));
}

TEST_F(PermissionRowsTest, TheWindowAccessRowFollowsTheEnginesTrust) {
    world.permissions.setTellsTrustChanges(true);
    WindowEngine engine(world.enginePorts());
    engine.start();
    EXPECT_EQ(windowAccessRow(engine), WindowAccessRow::granted);

    world.permissions.setWindowAccessTrusted(false);
    EXPECT_EQ(windowAccessRow(engine), WindowAccessRow::allowButton);
    world.permissions.setWindowAccessTrusted(true);
    EXPECT_EQ(windowAccessRow(engine), WindowAccessRow::granted);
    // A started worker ends without the bounded wait for its thread.
    engine.stop();
    world.runUntilIdle();
}
