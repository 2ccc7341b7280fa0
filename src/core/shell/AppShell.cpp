#include "core/shell/AppShell.h"

#include <unordered_set>
#include <utility>

#include "core/foundation/Log.h"
#include "core/model/TransientDockApps.h"
#include "core/shell/InAppNotifications.h"

namespace quillbern {

namespace {

WindowEngine::Ports enginePorts(Platform& p) {
    return {.worker = {.threads = p.threads,
                       .access = p.windowAccess,
                       .windowList = p.windowList,
                       .screens = p.screens,
                       .permissions = p.permissions,
                       .input = p.input,
                       .clock = p.clock},
            .apps = p.apps,
            .session = p.session,
            .screens = p.screens,
            .mainLoop = p.mainLoop};
}

PreviewStore::Ports previewPorts(Platform& p) {
    return {.defaults = p.defaults,
            .permissions = p.permissions,
            .launcher = p.launcher,
            .screens = p.screens,
            .session = p.session,
            .capture = p.capture,
            .clock = p.clock,
            .mainLoop = p.mainLoop};
}

PinnedStore::Ports pinnedPorts(Platform& p) {
    return {.defaults = p.defaults,
            .clock = p.clock,
            .mainLoop = p.mainLoop,
            .uuids = p.uuids,
            .text = p.text,
            .alerts = p.alerts,
            .apps = p.apps,
            .catalog = p.catalog,
            .launcher = p.launcher,
            .files = p.files,
            .icons = p.icons};
}

}  // namespace

AppShell::AppShell(Platform& platform, ShellParts parts)
    : platform_(platform),
      parts_(std::move(parts)),
      engine_(enginePorts(platform)),
      previews_(previewPorts(platform)),
      pinned_(pinnedPorts(platform)),
      dockPreferences_(platform.defaults, platform.clock, platform.mainLoop),
      appearance_(platform.defaults, platform.appearance, platform.mainLoop),
      updater_(platform.updater, platform.mainLoop),
      suppressor_(platform.defaults, platform.nativeDock),
      loginItem_(platform.defaults, platform.login, platform.launcher),
      windowAccess_(platform.permissions, platform.processes, platform.launcher),
      installedApps_(std::make_shared<const InstalledAppsScanner>(platform.catalog, platform.text)),
      appSearchIndex_({.threads = platform.threads, .scanner = installedApps_, .mainLoop = platform.mainLoop}),
      walkthrough_(parts_.walkthrough ? parts_.walkthrough(*this) : nullptr),
      launches_(pinned_),
      activationFlash_(platform.clock),
      memoryRelease_(platform.mainLoop, platform.clock, platform.process),
      statusMenu_(*this, platform) {
    if (walkthrough_) {
        // However it ends: finished, or closed half-way.
        walkthrough_->onClosed = lifetime_.guard([this] { platform_.defaults.set(kOnboardedKey, true); });
    }
    // URLs may come at any moment; those before the end of the launch wait for it.
    urlEvents_ =
        platform.urls.onOpenUrls(lifetime_.guard([this](const std::vector<std::string>& urls) { openUrls(urls); }));
    // Without a tray this is how the user reaches Settings: by starting Quillbern again.
    reopenEvents_ = platform.urls.onReopen(lifetime_.guard([this] { openSettings(); }));
}

AppShell::~AppShell() = default;

void AppShell::applicationDidFinishLaunching() {
    expectOnLoop(platform_.mainLoop);
    installStatusItem();
    wireStores();
    engine_.start();
    suppressor_.applyAtLaunch();
    registerShortcuts();
    wirePartsAndEngine();
    installActivityFeeds();
    startDocks();
    promptForCaptureIfDue(presentWalkthroughOrPrompt());
    loginItem_.restoreIntentIfNeeded();
    onboardingObserver_ = notifications_.observe(kShowOnboardingNotification, lifetime_.guard([this] {
        if (walkthrough_) walkthrough_->present();
    }));

    automation_ = std::make_unique<AutomationExecutor>(pinned_, dockPreferences_, hotKeys_->targets);
    launchComplete_ = true;
    if (!pendingUrls_.empty()) automation_->execute(std::exchange(pendingUrls_, {}));
}

void AppShell::installStatusItem() {
    if (parts_.settingsWindow) settingsWindow_ = parts_.settingsWindow(*this);
    if (parts_.statusItem) statusItem_ = parts_.statusItem(statusMenu_);
    if (statusItem_ && !statusItem_->show())
        log("no system tray on this desktop, so the status menu cannot be shown; the global shortcuts work, and "
            "starting Quillbern again opens its Settings");
}

void AppShell::openSettings() {
    if (settingsWindow_) settingsWindow_->open();
}

void AppShell::openHelp() {
    openSettings();
    notifications_.post(kShowHelpNotification);
}

std::function<void()> AppShell::hotkeysToggledRequest() const {
    return lifetime_.guard([this] {
        if (hotKeys_) hotKeys_->syncHotkeys();
    });
}

std::function<RegisteredChords()> AppShell::registeredChordsRequest() const {
    return [this, token = lifetime_.token()] { return token.isAlive() ? registeredChords() : RegisteredChords{}; };
}

void AppShell::wireStores() {
    engine_.onSnapshotChange = lifetime_.guard([this](const WindowSnapshot& snapshot) { snapshotChanged(snapshot); });
    engine_.onTrustChange = lifetime_.guard([this] {
        if (dock_) dock_->refreshFrames();
    });
    appearance_.onChange = lifetime_.guard([this] { appearanceChanged(); });
    memoryRelease_.watch(engine_.snapshotChanged);
    memoryRelease_.watch(pinned_.runningChanged);
    updater_.onWillRelaunch = lifetime_.guard([this] {
        // The new copy starts with the desktop's dock as the user keeps it.
        if (suppressor_.isEnabled()) suppressor_.restore();
    });
}

void AppShell::registerShortcuts() {
    hotKeys_ = std::make_unique<HotKeyDispatch>(HotKeyDispatch::Ports{.hotKeys = platform_.hotKeys,
                                                                      .layout = platform_.keyboardLayout,
                                                                      .text = platform_.text,
                                                                      .alerts = platform_.alerts},
                                                pinned_, dockPreferences_);
    hotKeys_->syncHotkeys();
}

void AppShell::wirePartsAndEngine() {
    workspace_ = std::make_unique<WorkspaceController>(WorkspaceController::Ports{.apps = platform_.apps,
                                                                                  .screens = platform_.screens,
                                                                                  .alerts = platform_.alerts,
                                                                                  .clock = platform_.clock,
                                                                                  .mainLoop = platform_.mainLoop},
                                                       engine_, pinned_, dockPreferences_);
    placement_ = std::make_unique<PlacementController>(PlacementController::Ports{.panels = platform_.panels,
                                                                                  .views = platform_.workspaceViews,
                                                                                  .screens = platform_.screens,
                                                                                  .input = platform_.input,
                                                                                  .events = platform_.events,
                                                                                  .system = platform_.appearance,
                                                                                  .mainLoop = platform_.mainLoop,
                                                                                  .clock = platform_.clock},
                                                       engine_, pinned_, *workspace_);
    pinned_.onDragSessionChange = lifetime_.guard([this] { placement_->dragSessionChanged(); });
    const auto resync = lifetime_.guard([this] {
        if (hotKeys_) hotKeys_->syncHotkeys();
    });
    pinned_.onBindingsChange = resync;
    dockPreferences_.onOverridesChange = resync;
    // The switch for global shortcuts, and auto-hide, which decides whether peek has one.
    preferencesChanged_ = dockPreferences_.changed.connect(resync);

    const PalettePorts palettePorts{.panels = platform_.panels,
                                    .views = platform_.paletteViews,
                                    .screens = platform_.screens,
                                    .input = platform_.input,
                                    .events = platform_.events,
                                    .mainLoop = platform_.mainLoop};
    overview_ = std::make_unique<AppOverview>(
        AppOverview::Ports{.palette = palettePorts, .apps = platform_.apps, .text = platform_.text}, engine_, pinned_,
        windowAccess_);
    appSearch_ = std::make_unique<AppSearchController>(
        AppSearchController::Ports{
            .palette = palettePorts, .menus = platform_.menus, .text = platform_.text, .icons = platform_.icons},
        engine_, pinned_, appSearchIndex_);
    appSearchIndex_.refreshSoon();
    fileSearch_ = parts_.later.fileSearch ? parts_.later.fileSearch(*this) : nullptr;
    shortcutSheet_ = std::make_unique<ShortcutSheetController>(
        ShortcutSheetController::Ports{
            .palette = palettePorts, .layout = platform_.keyboardLayout, .text = platform_.text},
        pinned_, [this] { return registeredChords(); });

    spotlight_ = std::make_unique<FocusSpotlight>(FocusSpotlight::Ports{.panels = platform_.panels,
                                                                        .views = platform_.workspaceViews,
                                                                        .screens = platform_.screens,
                                                                        .mainLoop = platform_.mainLoop},
                                                  engine_, appearance_);
    focusMode_ =
        std::make_unique<FocusModeController>(FocusModeController::Ports{.panels = platform_.panels,
                                                                         .views = platform_.workspaceViews,
                                                                         .screens = platform_.screens,
                                                                         .windowList = platform_.mainThreadWindowList,
                                                                         .input = platform_.input,
                                                                         .apps = platform_.apps,
                                                                         .process = platform_.process,
                                                                         .mainLoop = platform_.mainLoop},
                                              engine_, appearance_, windowAccess_);
    HotKeyTargets& targets = hotKeys_->targets;
    targets.workspace = workspace_.get();
    targets.overview = overview_.get();
    targets.appSearch = appSearch_.get();
    targets.fileSearch = fileSearch_.get();
    targets.shortcutSheet = shortcutSheet_.get();
    targets.focusMode = focusMode_.get();
    focusMode_->onActivate = lifetime_.guard([this] { spotlight_->cancel(); });

    engine_.onRaiseRequest = lifetime_.guard([this](const WindowInfo& window) { ownRaise(window); });
    engine_.onPlaceRequest =
        lifetime_.guard([this](const WindowInfo&, const RectTL&) { activationFlash_.noteOwnRaise(); });
}

void AppShell::installActivityFeeds() {
    constexpr MouseButtons kAnyButton = kLeftButton | kRightButton | kOtherButton;
    activityFeeds_.push_back(platform_.events.onGlobalMouseDown(
        kAnyButton,
        onLoop(platform_.mainLoop, lifetime_.token(), [this](const MouseDown&) { activationFlash_.noteClick(); })));
    activityFeeds_.push_back(platform_.events.onLocalMouseDown(
        kAnyButton, lifetime_.guard([this](const MouseDown&) { activationFlash_.noteClick(); })));
    activityFeeds_.push_back(
        platform_.apps.onActivate(lifetime_.guard([this](const RunningApp& app) { externalActivation(app); })));
    activityFeeds_.push_back(platform_.session.on(SessionEvent::desktopChanged,
                                                  lifetime_.guard([this] { activationFlash_.noteDesktopSwitch(); })));
}

void AppShell::startDocks() {
    locations_ = std::make_unique<LocationBrowser>(LocationBrowser::Ports{.mainLoop = platform_.mainLoop,
                                                                          .clock = platform_.clock,
                                                                          .threads = platform_.threads,
                                                                          .files = platform_.files,
                                                                          .folderEvents = platform_.folders,
                                                                          .thumbnailer = platform_.thumbnailer,
                                                                          .launcher = platform_.launcher,
                                                                          .alerts = platform_.alerts});
    dock_ = std::make_unique<DockController>(
        DockController::Ports{.panels = platform_.panels,
                              .views = platform_.dockViews,
                              .screens = platform_.screens,
                              .input = platform_.input,
                              .system = platform_.appearance,
                              .mainLoop = platform_.mainLoop,
                              .clock = platform_.clock,
                              .apps = platform_.apps,
                              .events = platform_.events,
                              .files = platform_.files,
                              .folders = platform_.folders,
                              .catalog = platform_.catalog,
                              .launcher = platform_.launcher,
                              .alerts = platform_.alerts,
                              .locations = locations_.get()},
        engine_, previews_, pinned_, dockPreferences_, appearance_, windowAccess_,
        [this](std::span<const WindowInfo> windows, const std::set<AppId>& excludedOwners) {
            return transientDockApps(windows, pinned_, excludedOwners).size();
        },
        launches_);
    dock_->onCommandClick = lifetime_.guard([this] { commandClick(); });
    dock_->workspace = workspace_.get();
    dock_->start();
    hotKeys_->targets.dock = dock_.get();
}

bool AppShell::presentWalkthroughOrPrompt() {
    Defaults& defaults = platform_.defaults;
    if (!defaults.boolValue(kOnboardedKey).value_or(false)) {
        // The walkthrough asks for what it needs itself.
        if (walkthrough_) walkthrough_->present();
        return false;
    }
    if (platform_.permissions.isWindowAccessTrusted()) {
        defaults.set(kPromptedWhileRevokedKey, false);
        return false;
    }
    // Once after the grant was lost, not at every launch.
    if (defaults.boolValue(kPromptedWhileRevokedKey).value_or(false)) return false;
    platform_.permissions.requestWindowAccess();
    defaults.set(kPromptedWhileRevokedKey, true);
    return true;
}

void AppShell::promptForCaptureIfDue(bool promptedForWindowAccess) {
    // At most one of the system's prompts per launch.
    if (platform_.defaults.boolValue(kOnboardedKey).value_or(false) && !promptedForWindowAccess)
        previews_.promptIfEnabledButUngranted();
}

void AppShell::openUrls(const std::vector<std::string>& urls) {
    if (!launchComplete_) {
        pendingUrls_.insert(pendingUrls_.end(), urls.begin(), urls.end());
        return;
    }
    automation_->execute(urls);
}

void AppShell::snapshotChanged(const WindowSnapshot& snapshot) {
    std::unordered_set<WindowId> living;
    for (const WindowInfo& window : snapshot.windows)
        living.insert(window.id);
    previews_.prune(living);
    if (dock_) dock_->refreshFrames();
    if (isFocusModeOn()) focusMode_->apply(snapshot);
    if (workspace_) workspace_->snapshotChanged(snapshot);
    flashActivatedWindow(snapshot);
}

void AppShell::appearanceChanged() {
    if (dock_) dock_->refreshFrames();
    if (isFocusModeOn()) focusMode_->refreshIntensity();
}

void AppShell::ownRaise(const WindowInfo& window) {
    activationFlash_.noteOwnRaise();
    // The veil already marks the focused window, and a focused window needs no light.
    if (isFocusModeOn() || window.isFocused) return;
    spotlight_->flash(window);
}

void AppShell::commandClick() {
    dismissPalette(appSearch_.get());
    dismissPalette(fileSearch_.get());
    togglePalette(overview_.get());
}

void AppShell::externalActivation(const RunningApp& app) {
    activationFlash_.noteActivation(app.pid, platform_.process.pid());
    flashActivatedWindow(engine_.snapshot());
}

void AppShell::flashActivatedWindow(const WindowSnapshot& snapshot) {
    const std::optional<ActivationFlash::Target> target = activationFlash_.target(snapshot);
    if (target && !isFocusModeOn()) spotlight_->flash(target->window, target->waited);
}

bool AppShell::isFocusModeOn() const {
    return focusMode_ && focusMode_->isActive();
}

const RegisteredChords& AppShell::registeredChords() const {
    static const RegisteredChords none;
    return hotKeys_ ? hotKeys_->registered() : none;
}

void AppShell::applicationWillTerminate() {
    expectOnLoop(platform_.mainLoop);
    // No shortcut reaches the program from here on; a peek still held ends first.
    preferencesChanged_.reset();
    pinned_.onBindingsChange = nullptr;
    dockPreferences_.onOverridesChange = nullptr;
    if (hotKeys_) {
        hotKeys_->shutdown();
        hotKeys_.reset();
    }
    if (overview_) overview_->dismiss();
    if (appSearch_) appSearch_->dismiss();
    if (shortcutSheet_) shortcutSheet_->dismiss();
    // A run that ends here leaves the desktop's dock as the user keeps it; one that dies
    // leaves that to the next launch.
    if (suppressor_.isEnabled()) suppressor_.restore();
    if (dock_) dock_->stop();
    engine_.stop();
    // The program may end without destroying anything from here on.
    platform_.defaults.flush();
}

void AppShell::displayLost() {
    log("the connection to the display is lost; every setting was saved as it changed. Giving the desktop's dock "
        "its own settings back and stopping window tracking; the rest ends with the program");
    if (suppressor_.isEnabled()) suppressor_.restore();
    engine_.stop();
    platform_.defaults.flush();
}

}  // namespace quillbern
