#include "app/AppDelegate.h"

#include <unordered_set>

#include "app/PinnedStoreLaunches.h"
#include "core/dock/DockController.h"
#include "core/foundation/Log.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/model/TransientDockApps.h"
#include "core/shell/HotKeyDispatch.h"
#include "core/windows/AXPermission.h"
#include "core/windows/DockSuppressor.h"
#include "core/windows/LoginItem.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"
#include "ui/shell/StatusItem.h"

namespace quillbern {

namespace {

WindowEngine::Ports enginePorts(Platform& p) {
    return {{p.threads, p.windowAccess, p.windowList, p.screens, p.permissions, p.input, p.clock},
            p.apps,
            p.session,
            p.screens,
            p.mainLoop};
}

PreviewStore::Ports previewPorts(Platform& p) {
    return {p.defaults, p.permissions, p.launcher, p.screens, p.session, p.capture, p.clock, p.mainLoop};
}

PinnedStore::Ports pinnedPorts(Platform& p) {
    return {p.defaults, p.clock,   p.mainLoop, p.uuids, p.text, p.alerts,
            p.apps,     p.catalog, p.launcher, p.files, p.icons};
}

}  // namespace

AppDelegate::AppDelegate(Platform& platform)
    : platform_(platform),
      windowEngine_(std::make_unique<WindowEngine>(enginePorts(platform))),
      previewStore_(std::make_unique<PreviewStore>(previewPorts(platform))),
      pinnedStore_(std::make_unique<PinnedStore>(pinnedPorts(platform))),
      dockPreferences_(std::make_unique<DockPreferences>(platform.defaults, platform.clock, platform.mainLoop)),
      appearanceStore_(std::make_unique<AppearanceStore>(platform.defaults, platform.appearance, platform.mainLoop)),
      suppressor_(std::make_unique<DockSuppressor>(platform.defaults, platform.nativeDock)),
      loginItem_(std::make_unique<LoginItem>(platform.defaults, platform.login, platform.launcher)),
      permission_(std::make_unique<AXPermission>(platform.permissions, platform.processes, platform.launcher)),
      launches_(std::make_unique<PinnedStoreLaunches>(*pinnedStore_)) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    statusItem_ = std::make_unique<StatusItem>(platform_.quit);
    if (!statusItem_->show()) log("no system tray; the status menu is not shown");

    // The delegate outlives every callback it sets here.
    windowEngine_->onSnapshotChange = [this](const WindowSnapshot& snapshot) {
        std::unordered_set<WindowId> living;
        for (const WindowInfo& window : snapshot.windows)
            living.insert(window.id);
        previewStore_->prune(living);
        if (dockController_) dockController_->refreshFrames();
    };
    windowEngine_->onTrustChange = [this] {
        if (dockController_) dockController_->refreshFrames();
    };
    appearanceStore_->onChange = [this] {
        if (dockController_) dockController_->refreshFrames();
    };
    windowEngine_->start();
    suppressor_->applyAtLaunch();

    hotKeys_ = std::make_unique<HotKeyDispatch>(
        HotKeyDispatch::Ports{platform_.hotKeys, platform_.keyboardLayout, platform_.text, platform_.alerts},
        *pinnedStore_, *dockPreferences_);
    hotKeys_->syncHotkeys();
    pinnedStore_->onBindingsChange = [this] { hotKeys_->syncHotkeys(); };
    dockPreferences_->onOverridesChange = [this] { hotKeys_->syncHotkeys(); };
    // The switch for global shortcuts, and auto-hide, which decides whether peek has one.
    preferencesChanged_ = dockPreferences_->changed.connect([this] { hotKeys_->syncHotkeys(); });

    dockController_ = std::make_unique<DockController>(
        DockController::Ports{platform_.panels, platform_.screens, platform_.input, platform_.appearance,
                              platform_.mainLoop, platform_.clock},
        *windowEngine_, *pinnedStore_, *dockPreferences_, *appearanceStore_, *permission_,
        [this](std::span<const WindowInfo> windows, const std::set<std::string>& excludedOwners) {
            return transientDockApps(windows, *pinnedStore_, excludedOwners).size();
        },
        *launches_);
    dockController_->start();
    hotKeys_->targets.dock = dockController_.get();
    loginItem_->restoreIntentIfNeeded();
}

void AppDelegate::applicationWillTerminate() {
    // No shortcut reaches the program from here on; a peek in progress ends first.
    preferencesChanged_.reset();
    pinnedStore_->onBindingsChange = nullptr;
    dockPreferences_->onOverridesChange = nullptr;
    if (hotKeys_) hotKeys_->shutdown();
    statusItem_.reset();
    // A run that ends here leaves the desktop's dock as the user keeps it; one that dies
    // leaves that to the next launch.
    if (suppressor_->isEnabled()) suppressor_->restore();
    if (dockController_) dockController_->stop();
    windowEngine_->stop();
}

}  // namespace quillbern
