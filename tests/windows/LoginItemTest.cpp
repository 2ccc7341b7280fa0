#include <gtest/gtest.h>

#include "core/windows/LoginItem.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

constexpr const char* kWish = "openAtLogin";
constexpr const char* kAttempted = "loginItemRestoreAttempted";

// With the system's reason.
const std::string kMessage =
    "Quillbern couldn't change its entry in your startup applications (Permission denied). Open your desktop's "
    "startup applications settings to set it by hand.";
const Error kDenied{"Permission denied", "posix", 13};

class Login : public ::testing::Test {
protected:
    SimWorld world;
    SimLoginService& service = world.login;
    std::optional<LoginItem> item;
    Subscription counting;
    int notices = 0;

    // A launch of the program: a new item on the service as it stands.
    LoginItem& launch() {
        counting = Subscription();
        item.emplace(world.defaults, service, world.launcher);
        counting = item->changed.connect([this] { ++notices; });
        item->restoreIntentIfNeeded();
        return *item;
    }
    std::optional<bool> flag(const char* key) const { return world.defaults.boolValue(key); }
};

TEST_F(Login, TheSwitchRegistersAndUnregistersAndTheWishFollowsTheStatus) {
    auto& login = launch();
    EXPECT_EQ(login.status(), LoginStatus::notRegistered);
    EXPECT_EQ(service.registrations(), 0);

    login.setEnabled(true);
    EXPECT_EQ(service.registrations(), 1);
    EXPECT_EQ(login.status(), LoginStatus::enabled);
    EXPECT_EQ(login.lastError(), std::nullopt);
    EXPECT_EQ(flag(kWish), true);
    EXPECT_EQ(flag(kAttempted), true);
    EXPECT_EQ(notices, 1);

    login.setEnabled(false);
    EXPECT_EQ(service.unregistrations(), 1);
    EXPECT_EQ(login.status(), LoginStatus::notRegistered);
    EXPECT_EQ(flag(kWish), false);
    EXPECT_EQ(notices, 2);
    EXPECT_TRUE(world.launcher.openedPages().empty());
    EXPECT_TRUE(world.log.lines().empty());

    // The status is read again on request: the entry went missing behind our back.
    login.setEnabled(true);
    service.setStatus(LoginStatus::notFound);
    login.refresh();
    EXPECT_EQ(login.status(), LoginStatus::notFound);
    EXPECT_EQ(flag(kWish), false);
}

TEST_F(Login, AFailedSwitchOnShowsTheMessageWhileTheEntryIsStillMissing) {
    auto& login = launch();
    service.scriptRegister({kDenied, LoginStatus::notRegistered});
    login.setEnabled(true);
    EXPECT_EQ(login.lastError(), kMessage);
    EXPECT_EQ(flag(kWish), false);
    EXPECT_TRUE(world.log.contains("Quillbern: login item — Permission denied (posix 13)"));

    login.refresh();
    EXPECT_EQ(login.lastError(), kMessage);
    // Fixed by hand elsewhere: the next refresh clears the message and takes up the wish.
    service.setStatus(LoginStatus::enabled);
    login.refresh();
    EXPECT_EQ(login.lastError(), std::nullopt);
    EXPECT_EQ(flag(kWish), true);
}

TEST_F(Login, AFailedSwitchOffShowsTheMessageWhileTheEntryIsStillThere) {
    auto& login = launch();
    login.setEnabled(true);
    service.scriptUnregister({kDenied, LoginStatus::enabled});
    login.setEnabled(false);
    EXPECT_EQ(login.lastError(), kMessage);
    EXPECT_EQ(flag(kWish), true);
    login.refresh();
    EXPECT_EQ(login.lastError(), kMessage);

    service.setStatus(LoginStatus::notRegistered);
    login.refresh();
    EXPECT_EQ(login.lastError(), std::nullopt);
    EXPECT_EQ(flag(kWish), false);
}

TEST_F(Login, ARegistrationWaitingForApprovalIsNoFailureAndOpensTheSettingsPage) {
    auto& login = launch();
    service.scriptRegister({kDenied, LoginStatus::requiresApproval});
    login.setEnabled(true);
    EXPECT_EQ(login.status(), LoginStatus::requiresApproval);
    EXPECT_EQ(login.lastError(), std::nullopt);
    EXPECT_EQ(flag(kWish), true);
    EXPECT_EQ(world.launcher.openedPages(), std::vector<SystemSettingsPage>{SystemSettingsPage::loginItems});
}

TEST_F(Login, AMissingRegistrationIsMadeAgainOnceAtLaunchWithoutAMessage) {
    world.defaults.set(kWish, true);
    service.scriptRegister({kDenied, LoginStatus::notRegistered});
    auto& login = launch();
    EXPECT_EQ(service.registrations(), 1);
    EXPECT_EQ(flag(kAttempted), true);
    EXPECT_EQ(login.lastError(), std::nullopt);
    EXPECT_TRUE(world.log.contains("Quillbern: login item — Permission denied (posix 13)"));
    EXPECT_EQ(flag(kWish), false);

    // It failed, and the wish is set again by hand: the next launch still makes no attempt.
    world.defaults.set(kWish, true);
    launch();
    EXPECT_EQ(service.registrations(), 1);

    // A fresh installation with the wish on: registered once, and enabled from then on.
    world.defaults.remove(kAttempted);
    service.scriptRegister({std::nullopt, LoginStatus::enabled});
    EXPECT_EQ(launch().status(), LoginStatus::enabled);
    EXPECT_EQ(service.registrations(), 2);
    EXPECT_EQ(flag(kWish), true);
}

TEST_F(Login, TheLaunchLeavesEveryOtherStatusAlone) {
    // Waiting for approval: the wish stands and nothing is attempted.
    world.defaults.set(kWish, true);
    service.setStatus(LoginStatus::requiresApproval);
    launch();
    service.setStatus(LoginStatus::notFound);
    launch();
    EXPECT_EQ(service.registrations(), 0);
    EXPECT_EQ(flag(kWish), true);
    EXPECT_EQ(flag(kAttempted), std::nullopt);

    // No wish: nothing.
    world.defaults.set(kWish, false);
    service.setStatus(LoginStatus::notRegistered);
    launch();
    EXPECT_EQ(service.registrations(), 0);

    // Already enabled: the one attempt counts as used.
    service.setStatus(LoginStatus::enabled);
    launch();
    EXPECT_EQ(flag(kAttempted), true);
    EXPECT_EQ(service.registrations(), 0);
}

}  // namespace
}  // namespace quillbern
