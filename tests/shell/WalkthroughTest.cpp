#include <gtest/gtest.h>

#include "core/shell/Walkthrough.h"
#include "shell/ShellWorld.h"

namespace quillbern::testing {
namespace {

using Step = Walkthrough::Step;
using Forward = Walkthrough::Forward;

class WalkthroughTest : public ::testing::Test {
protected:
    WalkthroughTest() {
        w.world.defaults.set(AppShell::kOnboardedKey, true);
        w.launch();
        walkthrough = std::make_unique<Walkthrough>(Walkthrough::Services{.engine = w.shell->engine(),
                                                                          .previews = w.shell->previews(),
                                                                          .suppressor = w.shell->suppressor(),
                                                                          .loginItem = w.shell->loginItem(),
                                                                          .windowAccess = w.shell->windowAccess()},
                                                    [this] { ++finished; });
        changes = walkthrough->changed.connect([this] { ++changed; });
    }
    // Trust as the system has it, and as the engine publishes it at its next reading.
    void trust(bool trusted) {
        w.permissions.setWindowAccessTrusted(trusted);
        w.advance(WindowEngine::kTrustPollInterval);
        ASSERT_EQ(w.shell->engine().isTrusted(), trusted);
    }

    ShellWorld w;
    std::unique_ptr<Walkthrough> walkthrough;
    int finished = 0;
    int changed = 0;
    Subscription changes;
};

TEST_F(WalkthroughTest, LeadsThroughFourStepsForwardAndBackWithinTheirBounds) {
    Walkthrough& walk = *walkthrough;
    EXPECT_EQ(walk.step(), Step::welcome);
    EXPECT_FALSE(walk.showsPrevious());
    EXPECT_EQ(walk.forwardTitle(), "Continue");
    walk.previous();
    EXPECT_EQ(walk.step(), Step::welcome) << "nothing before the welcome";
    EXPECT_EQ(changed, 0);

    const std::vector<std::string_view> symbols = {"display", "square.stack.3d.up.fill", "photo.on.rectangle.angled",
                                                   "slider.horizontal.3"};
    for (int i = 0; i < Walkthrough::kStepCount; ++i) {
        EXPECT_EQ(int(walk.step()), i);
        EXPECT_EQ(walk.stepSymbol(), symbols[std::size_t(i)]);
        EXPECT_EQ(walk.showsPrevious(), i > 0);
        if (i < 3) walk.pressForward();
    }
    EXPECT_EQ(walk.forward(), Forward::finish);
    EXPECT_EQ(walk.forwardTitle(), "Finish");
    EXPECT_TRUE(walk.forwardTakesReturn());
    EXPECT_EQ(changed, 3);

    walk.previous();
    EXPECT_EQ(walk.step(), Step::previews);
    EXPECT_EQ(finished, 0);
}

TEST_F(WalkthroughTest, FinishAndEscapeOnAnyStepAskTheHostToClose) {
    walkthrough->exit();
    EXPECT_EQ(finished, 1) << "Escape on the welcome";
    for (int i = 0; i < 3; ++i)
        walkthrough->pressForward();
    walkthrough->pressForward();
    EXPECT_EQ(finished, 2) << "Finish";
    EXPECT_EQ(walkthrough->step(), Step::comfort) << "the host closes; the step stays";
}

TEST_F(WalkthroughTest, WithoutWindowAccessTheStepOffersItsOwnButtonAndLaterDoesNotTakeReturn) {
    trust(false);
    walkthrough->pressForward();
    ASSERT_EQ(walkthrough->step(), Step::windowAccess);
    EXPECT_FALSE(walkthrough->hasWindowAccess());
    EXPECT_EQ(walkthrough->forward(), Forward::later);
    EXPECT_EQ(walkthrough->forwardTitle(), "Later");
    EXPECT_FALSE(walkthrough->forwardTakesReturn());

    // The button prompts; a user who says no is shown where the permission is set.
    const int prompts = w.permissions.windowAccessPrompts();
    walkthrough->allowWindowAccess();
    EXPECT_EQ(w.permissions.windowAccessPrompts(), prompts + 1);

    // A grant arriving while the step shows turns it into the granted one at once.
    const int before = changed;
    trust(true);
    EXPECT_GT(changed, before);
    EXPECT_TRUE(walkthrough->hasWindowAccess());
    EXPECT_EQ(walkthrough->forward(), Forward::continueOn);
    EXPECT_TRUE(walkthrough->forwardTakesReturn());

    // Later still moves on.
    trust(false);
    walkthrough->pressForward();
    EXPECT_EQ(walkthrough->step(), Step::previews);
    EXPECT_EQ(walkthrough->forward(), Forward::continueOn) << "previews never hold the walkthrough back";
}

TEST_F(WalkthroughTest, PreviewsSwitchOnTheStoreAndAskForCaptureOnlyWhileNotGranted) {
    PreviewStore& previews = w.shell->previews();
    previews.setEnabled(false);
    w.permissions.setCaptureAllowed(true);
    walkthrough->setPreviewsEnabled(true);
    w.world.runUntilIdle();
    EXPECT_TRUE(previews.isEnabled());
    EXPECT_FALSE(walkthrough->showsCaptureHelp()) << "already granted: no caption, no button";

    walkthrough->setPreviewsEnabled(false);
    w.permissions.setCaptureAllowed(false);
    walkthrough->setPreviewsEnabled(true);
    w.world.runUntilIdle();
    EXPECT_TRUE(walkthrough->showsCaptureHelp());
    const int requests = w.permissions.captureRequests();
    walkthrough->allowScreenCapture();
    w.world.runUntilIdle();
    EXPECT_GT(w.permissions.captureRequests(), requests);

    // Off again: the help goes at once and previews stay off.
    walkthrough->setPreviewsEnabled(false);
    EXPECT_FALSE(walkthrough->showsCaptureHelp());
    EXPECT_FALSE(previews.isEnabled());
    EXPECT_EQ(w.world.defaults.boolValue("previewsEnabled"), false);
}

TEST_F(WalkthroughTest, TheLoginSwitchShowsWhatTheServiceReportsAndItsFailure) {
    EXPECT_FALSE(walkthrough->opensAtLogin());
    walkthrough->setOpensAtLogin(true);
    EXPECT_TRUE(walkthrough->opensAtLogin());
    EXPECT_FALSE(walkthrough->loginError());

    // Waiting for the user's approval: the switch stays off and says where to approve.
    walkthrough->setOpensAtLogin(false);
    w.world.login.scriptRegister({std::nullopt, LoginStatus::requiresApproval});
    walkthrough->setOpensAtLogin(true);
    EXPECT_FALSE(walkthrough->opensAtLogin());
    EXPECT_TRUE(walkthrough->loginNeedsApproval());

    // A failure shows the service's message; a later success clears it.
    w.world.login.setStatus(LoginStatus::notRegistered);
    w.world.login.scriptRegister({Error{"the autostart folder is read-only", "login", 0}, LoginStatus::notRegistered});
    walkthrough->setOpensAtLogin(true);
    EXPECT_FALSE(walkthrough->opensAtLogin());
    ASSERT_TRUE(walkthrough->loginError());
    w.world.login.scriptRegister({std::nullopt, LoginStatus::enabled});
    walkthrough->setOpensAtLogin(true);
    EXPECT_TRUE(walkthrough->opensAtLogin());
    EXPECT_FALSE(walkthrough->loginError());
}

TEST_F(WalkthroughTest, HidingTheDesktopsDockThatFailsFallsBackToOffAndSaysWhy) {
    w.world.nativeDock.setSupported(false);
    walkthrough->setHidesDesktopDock(true);
    EXPECT_FALSE(walkthrough->hidesDesktopDock());
    ASSERT_TRUE(walkthrough->hideError()) << "the failure is shown, not swallowed";

    w.world.nativeDock.setSupported(true);
    walkthrough->setHidesDesktopDock(true);
    EXPECT_TRUE(walkthrough->hidesDesktopDock());
    EXPECT_FALSE(walkthrough->hideError());
    const int before = changed;
    walkthrough->setHidesDesktopDock(true);
    EXPECT_EQ(changed, before) << "switching on what is on changes nothing";

    // A change made elsewhere shows here too.
    w.shell->suppressor().setEnabled(false);
    EXPECT_FALSE(walkthrough->hidesDesktopDock());
    EXPECT_GT(changed, before);
}

}  // namespace
}  // namespace quillbern::testing
