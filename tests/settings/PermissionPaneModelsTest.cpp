#include <gtest/gtest.h>

#include "core/settings/PermissionsPaneModel.h"
#include "core/settings/PreviewsPaneModel.h"
#include "settings/SettingsTest.h"

namespace quillbern {
namespace {

// The models on the stores and services the launched shell hands Settings.
class PermissionPaneModels : public testing::SettingsTest {
protected:
    SimWorld& world = w.world;
};

TEST_F(PermissionPaneModels, TheCaptureWarningShowsOnlyWhilePreviewsAreOnWithoutAccessAndItsButtonAsks) {
    world.permissions.setCaptureAllowed(false);
    launch();
    PreviewStore& previews = w.shell->previews();
    PreviewsPaneModel model(previews);
    int changes = 0;
    const Subscription counted = model.changed.connect([&] { ++changes; });
    EXPECT_FALSE(model.showsCaptureWarning());

    // Switching on is stored and asks for access.
    model.setEnabled(true);
    world.runUntilIdle();
    EXPECT_TRUE(previews.isEnabled());
    EXPECT_EQ(world.defaults.boolValue(PreviewStore::kEnabledKey), true);
    EXPECT_EQ(world.permissions.captureRequests(), 1);
    EXPECT_TRUE(model.showsCaptureWarning());
    EXPECT_EQ(changes, 1);
    model.askForCaptureAccess();
    world.runUntilIdle();
    EXPECT_EQ(world.permissions.captureRequests(), 2);
    EXPECT_TRUE(previews.isEnabled());

    model.setEnabled(false);
    EXPECT_FALSE(previews.isEnabled());
    EXPECT_EQ(world.defaults.boolValue(PreviewStore::kEnabledKey), false);
    EXPECT_FALSE(model.showsCaptureWarning());

    model.setEnabled(true);
    world.permissions.setCaptureAllowed(true);
    w.advance(PreviewStore::kGrantPollInterval);
    EXPECT_TRUE(previews.isGranted());
    EXPECT_FALSE(model.showsCaptureWarning());
    EXPECT_EQ(changes, 4) << "told of the switch each time and of the grant";
}

TEST_F(PermissionPaneModels, TheWindowAccessRowFollowsTheEnginesTrustAndItsButtonRepairsBeforeAsking) {
    launch();
    PermissionsPaneModel model(w.shell->engine(), w.shell->windowAccess());
    int changes = 0;
    const Subscription counted = model.changed.connect([&] { ++changes; });
    EXPECT_EQ(model.windowAccessRow(), WindowAccessRow::granted);

    world.permissions.setWindowAccessTrusted(false);
    w.advance(WindowEngine::kTrustPollInterval);
    EXPECT_EQ(model.windowAccessRow(), WindowAccessRow::allowButton);
    EXPECT_EQ(changes, 1);

    // A stale grant would swallow the prompt: it is reset first.
    const CommandLine reset{"/usr/bin/reset-permission", {"window-access", "quillbern"}, {}};
    world.permissions.setStaleEntryResetCommand(reset);
    world.permissions.setGrantsWindowAccessOnPrompt(true);
    model.askForWindowAccess();
    ASSERT_EQ(world.processes.runs().size(), 1u);
    EXPECT_EQ(world.processes.runs()[0].command, reset);
    EXPECT_EQ(world.permissions.windowAccessPrompts(), 1);
    w.advance(WindowEngine::kTrustPollInterval);
    EXPECT_EQ(model.windowAccessRow(), WindowAccessRow::granted);
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace quillbern
