#include "shell/ShellWorld.h"

namespace quillbern::testing {

namespace {

// Makes the part from the call log and the arguments, logs it, and keeps a pointer for the test.
template <class Fake, class Part, class... Args>
ShellPartFactory<Part> shellFake(CallLog& log, std::string name, Fake*& kept, Args... args) {
    return [&log, name = std::move(name), &kept, args...](AppShell&) -> std::unique_ptr<Part> {
        log.add("make." + name);
        auto part = std::make_unique<Fake>(log, args...);
        kept = part.get();
        return part;
    };
}

}  // namespace

ShellWorld::ShellWorld() {
    ScreenInfo screen;
    screen.id = kDisplay;
    screen.stableId = "16-1-11";
    screen.name = "Display";
    screen.frame = {0, 0, 1920, 1080};
    screen.visibleFrame = {0, 0, 1920, 1050};
    world.screens.setScreens({screen});
}

ShellWorld::~ShellWorld() {
    if (shell && !terminated_) terminate();
    shell.reset();
    world.runUntilIdle();
}

void ShellWorld::terminate() {
    shell->applicationWillTerminate();
    terminated_ = true;
    // The window worker's last tasks run, so it ends without waiting.
    world.runUntilIdle();
}

ShellParts ShellWorld::allParts() {
    ShellParts parts = programParts();
    auto& later = parts.later;
    later.fileSearch = shellFake<FakePalette, Palette>(log, "fileSearch", fileSearch, "fileSearch");
    return parts;
}

ShellParts ShellWorld::programParts() {
    ShellParts parts;
    parts.statusItem = [this](StatusMenu&) {
        log.add("make.statusItem");
        return std::make_unique<FakeStatusItem>(log, hasTray);
    };
    parts.settingsWindow = [this](AppShell& shell) -> std::unique_ptr<SettingsWindow> {
        log.add("make.settingsWindow");
        auto part = std::make_unique<FakeSettingsWindow>(log, shell.notifications());
        settings = part.get();
        return part;
    };
    parts.walkthrough = shellFake<FakeWalkthrough, WalkthroughWindow>(log, "walkthrough", walkthrough);
    return parts;
}

std::vector<MenuRow> ShellWorld::openMenu() {
    return shell->statusMenu().aboutToOpen();
}

const MenuRow* ShellWorld::rowOf(const std::vector<MenuRow>& rows, std::string_view titleStart) {
    for (const MenuRow& row : rows) {
        if (!row.isSeparator && row.title.starts_with(titleStart)) return &row;
        if (const MenuRow* inner = rowOf(row.submenu, titleStart)) return inner;
    }
    return nullptr;
}

AppShell& ShellWorld::make(ShellParts parts) {
    platform = std::make_unique<Platform>(Platform{.mainLoop = world.mainLoop,
                                                   .clock = world.clock,
                                                   .defaults = world.defaults,
                                                   .uuids = world.uuids,
                                                   .text = world.text,
                                                   .alerts = world.alerts,
                                                   .appearance = recordedAppearance,
                                                   .screens = world.screens,
                                                   .input = world.input,
                                                   .events = recordedEvents,
                                                   .hotKeys = recordedHotKeys,
                                                   .keyboardLayout = world.keyboardLayout,
                                                   .keyboardGrabber = world.keyboardGrabber,
                                                   .panels = recordedPanels,
                                                   .paletteViews = world.paletteViews,
                                                   .dockViews = world.dockViews,
                                                   .workspaceViews = world.workspaceViews,
                                                   .menus = world.menus,
                                                   .threads = recordedThreads,
                                                   .windowList = windows,
                                                   .mainThreadWindowList = windows,
                                                   .windowAccess = windows,
                                                   .permissions = recordedPermissions,
                                                   .processes = world.processes,
                                                   .apps = recordedApps,
                                                   .session = recordedSession,
                                                   .capture = capture,
                                                   .launcher = world.launcher,
                                                   .catalog = world.catalog,
                                                   .files = world.files,
                                                   .folders = world.folders,
                                                   .icons = world.icons,
                                                   .thumbnailer = world.thumbnailer,
                                                   .nativeDock = recordedNativeDock,
                                                   .login = recordedLogin,
                                                   .process = process,
                                                   .clipboard = world.clipboard,
                                                   .urls = urls,
                                                   .updater = hasUpdater ? &recordedUpdater : nullptr,
                                                   .folderPicker = world.folderPicker});
    shell = std::make_unique<AppShell>(*platform, std::move(parts));
    return *shell;
}

AppShell& ShellWorld::launch(ShellParts parts) {
    AppShell& made = make(std::move(parts));
    made.applicationDidFinishLaunching();
    world.runUntilIdle();
    return made;
}

RectBL ShellWorld::dockFrame() {
    const std::vector<PanelKey> keys = shell->dock()->panelKeys();
    if (keys.empty()) return RectBL::null();
    return world.panels.panel(*shell->dock()->panelSerial(keys.front()))->frame;
}

void ShellWorld::addFocusedWindow(Pid pid, WindowId id, RectTL frame) {
    const ElementRef window = windows.addWindow(pid, {.id = id, .title = "Focused", .frame = frame});
    const ElementRef app = windows.appElement(pid);
    windows.set(app, Attribute::frontmost, true);
    windows.set(app, Attribute::focusedWindow, window);
}

void ShellWorld::bringForward(Pid pid, ElementRef window) {
    for (const RunningApp& app : world.apps.runningApps())
        windows.set(windows.appElement(app.pid), Attribute::frontmost, app.pid == pid);
    const ElementRef app = windows.appElement(pid);
    windows.set(app, Attribute::focusedWindow, window);
    windows.set(app, Attribute::mainWindow, window);
    world.apps.activateByUser(pid);
}

std::vector<const SimPanelState*> ShellWorld::veilPanels() const {
    std::vector<const SimPanelState*> veils;
    for (std::uint64_t serial = 1; const SimPanelState* panel = world.panels.panel(serial); ++serial) {
        if (panel->shown<VeilContent>()) veils.push_back(panel);
    }
    return veils;
}

}  // namespace quillbern::testing
