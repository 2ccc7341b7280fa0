#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/shell/AppShell.h"
#include "core/shell/InAppNotifications.h"
#include "shell/RecordedPorts.h"
#include "sim/SimAppProcess.h"
#include "sim/SimUpdater.h"
#include "sim/SimUrlEvents.h"
#include "sim/SimWindowCapture.h"
#include "sim/SimWorld.h"

namespace quillbern::testing {

inline constexpr DisplayId kDisplay = 1;

// Stand-ins for the parts later features build; each logs what the shell asks of it.
struct FakePalette final : Palette {
    FakePalette(CallLog& log, std::string name) : log(log), name(std::move(name)) {}
    bool isShown() const override { return shown; }
    void show() override {
        log.add(name + ".show");
        shown = true;
    }
    void dismiss() override {
        log.add(name + ".dismiss");
        shown = false;
    }
    CallLog& log;
    std::string name;
    bool shown = false;
};

struct FakeWalkthrough final : WalkthroughWindow {
    explicit FakeWalkthrough(CallLog& log) : log(log) {}
    void present() override { log.add("walkthrough.present"); }
    // The user closes it.
    void close() {
        if (onClosed) onClosed();
    }
    CallLog& log;
};

struct FakeSettingsWindow final : SettingsWindow {
    FakeSettingsWindow(CallLog& log, NotificationBus& notifications)
        : log(log),
          helpRequests(notifications.observe(kShowHelpNotification, [&log] { log.add("settings.showHelp"); })) {}
    void open() override { log.add("settings.open"); }
    CallLog& log;
    Subscription helpRequests;
};

struct FakeStatusItem final : TrayItem {
    FakeStatusItem(CallLog& log, bool hasTray) : log(log), hasTray(hasTray) {}
    bool show() override {
        log.add("statusItem.show");
        return hasTray;
    }
    CallLog& log;
    bool hasTray;
};

// The simulated machine the shell runs on, every port recorded into one call log, and
// the later parts faked.
class ShellWorld {
public:
    ShellWorld();
    ~ShellWorld();

    // Every part present, the fakes reachable through the members below.
    ShellParts allParts();
    // Only the parts the program has today.
    ShellParts programParts();
    // The status menu's rows as they are about to open, and a row of it or of its docks
    // submenu by its title's start.
    std::vector<MenuRow> openMenu();
    static const MenuRow* rowOf(const std::vector<MenuRow>& rows, std::string_view titleStart);
    AppShell& make(ShellParts parts);
    AppShell& make() { return make(allParts()); }
    AppShell& launch(ShellParts parts);
    AppShell& launch() { return launch(allParts()); }

    // The shutdown, and the window worker's last tasks.
    void terminate();
    void advance(Duration seconds) { world.advance(seconds); }
    // The frame of the one dock's panel on the display.
    RectBL dockFrame();
    // A window of a running application that has the focus, as the window engine finds it
    // at its next look.
    void addFocusedWindow(Pid pid, WindowId id, RectTL frame);
    // The window of a running application takes the focus and the application comes
    // forward, told at once; the window engine finds the focus at its next look.
    void bringForward(Pid pid, ElementRef window);
    // Every veil panel made so far, open or closed, oldest first.
    std::vector<const SimPanelState*> veilPanels() const;

    SimWorld world;
    SimWindowSystem& windows = world.windows;
    SimPermissions& permissions = world.permissions;
    SimSessionEvents& session = world.session;
    SimWindowCapture capture{world.clock};
    SimAppProcess process;
    SimUrlEvents urls;
    SimUpdater updater;
    bool hasUpdater = true;
    bool hasTray = true;

    CallLog log;
    RecordedPermissions recordedPermissions{permissions, log};
    RecordedRunningApps recordedApps{world.apps, log};
    RecordedAppearance recordedAppearance{world.appearance, log};
    RecordedLogin recordedLogin{world.login, log};
    RecordedNativeDock recordedNativeDock{world.nativeDock, log};
    RecordedEventMonitors recordedEvents{world.events, log};
    RecordedSessionEvents recordedSession{session, log};
    RecordedThreads recordedThreads{world.threads, log};
    RecordedHotKeys recordedHotKeys{world.hotKeys, log};
    RecordedPanels recordedPanels{world.panels, log};
    RecordedUpdater recordedUpdater{updater, log};
    std::unique_ptr<Platform> platform;

    FakePalette* fileSearch = nullptr;
    FakeWalkthrough* walkthrough = nullptr;
    FakeSettingsWindow* settings = nullptr;
    std::unique_ptr<AppShell> shell;

private:
    bool terminated_ = false;
};

}  // namespace quillbern::testing
