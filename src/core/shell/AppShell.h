#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/dock/DockController.h"
#include "core/dock/PinnedStoreLaunches.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/NotificationBus.h"
#include "core/foundation/Signal.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/InstalledAppsScanner.h"
#include "core/model/PinnedStore.h"
#include "core/palettes/AppOverview.h"
#include "core/palettes/AppSearchController.h"
#include "core/palettes/AppSearchIndex.h"
#include "core/palettes/ShortcutSheetController.h"
#include "core/shell/ActivationFlash.h"
#include "core/shell/AutomationExecutor.h"
#include "core/shell/IdleMemoryRelease.h"
#include "core/shell/Platform.h"
#include "core/shell/ShellParts.h"
#include "core/shell/StatusMenu.h"
#include "core/shell/UpdaterController.h"
#include "core/shortcuts/HotKeyDispatch.h"
#include "core/tiles/LocationBrowser.h"
#include "core/windows/AXPermission.h"
#include "core/windows/DockSuppressor.h"
#include "core/windows/LoginItem.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"
#include "core/workspace/FocusModeController.h"
#include "core/workspace/FocusSpotlight.h"
#include "core/workspace/PlacementController.h"
#include "core/workspace/WorkspaceController.h"

namespace quillbern {

// The one owner of every long-lived store and controller. Construction creates the stores
// in a fixed order; the launch creates the controllers, wires everything through its
// callbacks, decides between the walkthrough and a permission prompt, and then runs the
// automation URLs that came while it ran. When another application comes forward, it
// flashes the landing spotlight on it. The shutdown takes everything down again; nothing is
// saved then, since every store saves each change as it happens. Main thread.
class AppShell {
public:
    static constexpr const char* kOnboardedKey = "hasCompletedOnboarding";
    static constexpr const char* kPromptedWhileRevokedKey = "axPromptedWhileRevoked";

    AppShell(Platform& platform, ShellParts parts);
    ~AppShell();
    AppShell(const AppShell&) = delete;
    AppShell& operator=(const AppShell&) = delete;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // The display went away: the shutdown's steps that need none.
    void displayLost();

    WindowEngine& engine() { return engine_; }
    PreviewStore& previews() { return previews_; }
    PinnedStore& pinned() { return pinned_; }
    DockPreferences& dockPreferences() { return dockPreferences_; }
    AppearanceStore& appearance() { return appearance_; }
    UpdaterController& updater() { return updater_; }
    DockSuppressor& suppressor() { return suppressor_; }
    LoginItem& loginItem() { return loginItem_; }
    AXPermission& windowAccess() { return windowAccess_; }
    StatusMenu& statusMenu() { return statusMenu_; }
    // From the launch on.
    DockController* dock() const { return dock_.get(); }
    HotKeyDispatch* hotKeys() const { return hotKeys_.get(); }
    ShortcutSheetController* shortcutSheet() const { return shortcutSheet_.get(); }
    FocusModeController* focusMode() const { return focusMode_.get(); }
    AppSearchController* appSearch() const { return appSearch_.get(); }
    // The one scan of installed applications, for the application search and Settings;
    // shared with the scans under way, which may end after the shell.
    const std::shared_ptr<const InstalledAppsScanner>& installedApps() const { return installedApps_; }
    AppOverview* overview() const { return overview_.get(); }
    WorkspaceController* workspace() const { return workspace_.get(); }
    PlacementController* placement() const { return placement_.get(); }
    // The chords the system accepted, for the shortcut sheet and Settings; none before the
    // launch and after the shutdown.
    const RegisteredChords& registeredChords() const;
    bool isLaunchComplete() const { return launchComplete_; }

    // Opens the Settings window, or brings it forward as it was left.
    void openSettings();
    // Opens Settings, then asks it for its Help section.
    void openHelp();

    // The program's notices to itself (`InAppNotifications.h`).
    NotificationBus& notifications() { return notifications_; }
    Platform& platform() { return platform_; }
    // What Settings asks of the shell, holding it weakly: the global shortcuts registered
    // anew from the settings, and the chords the system accepted (none once it is gone).
    std::function<void()> hotkeysToggledRequest() const;
    std::function<RegisteredChords()> registeredChordsRequest() const;

private:
    void wireStores();
    void registerShortcuts();
    void wirePartsAndEngine();
    void installActivityFeeds();
    void startDocks();
    // Answers whether it showed the window-access prompt.
    bool presentWalkthroughOrPrompt();
    void promptForCaptureIfDue(bool promptedForWindowAccess);
    void installStatusItem();
    void openUrls(const std::vector<std::string>& urls);

    void snapshotChanged(const WindowSnapshot& snapshot);
    void appearanceChanged();
    void ownRaise(const WindowInfo& window);
    void commandClick();
    void externalActivation(const RunningApp& app);
    // The window another application focused as it came forward, once a snapshot shows it.
    void flashActivatedWindow(const WindowSnapshot& snapshot);
    bool isFocusModeOn() const;

    Platform& platform_;
    ShellParts parts_;
    NotificationBus notifications_;

    WindowEngine engine_;
    PreviewStore previews_;
    PinnedStore pinned_;
    DockPreferences dockPreferences_;
    AppearanceStore appearance_;
    UpdaterController updater_;
    DockSuppressor suppressor_;
    LoginItem loginItem_;
    AXPermission windowAccess_;
    std::shared_ptr<const InstalledAppsScanner> installedApps_;
    AppSearchIndex appSearchIndex_;
    std::unique_ptr<WalkthroughWindow> walkthrough_;
    PinnedStoreLaunches launches_;
    ActivationFlash activationFlash_;
    IdleMemoryRelease memoryRelease_;

    StatusMenu statusMenu_;
    std::unique_ptr<SettingsWindow> settingsWindow_;
    std::unique_ptr<TrayItem> statusItem_;
    std::unique_ptr<HotKeyDispatch> hotKeys_;
    Subscription preferencesChanged_;
    std::unique_ptr<WorkspaceController> workspace_;
    std::unique_ptr<PlacementController> placement_;
    std::unique_ptr<AppOverview> overview_;
    std::unique_ptr<AppSearchController> appSearch_;
    std::unique_ptr<Palette> fileSearch_;
    std::unique_ptr<ShortcutSheetController> shortcutSheet_;
    std::unique_ptr<FocusSpotlight> spotlight_;
    std::unique_ptr<FocusModeController> focusMode_;
    // Outlives the docks, whose popovers list through it.
    std::unique_ptr<LocationBrowser> locations_;
    std::unique_ptr<DockController> dock_;
    // From the end of the launch on, when everything it reaches exists.
    std::unique_ptr<AutomationExecutor> automation_;

    std::vector<Subscription> activityFeeds_;
    Subscription onboardingObserver_;
    Subscription urlEvents_;
    Subscription reopenEvents_;
    bool launchComplete_ = false;
    std::vector<std::string> pendingUrls_;
    Lifetime lifetime_;
};

}  // namespace quillbern
