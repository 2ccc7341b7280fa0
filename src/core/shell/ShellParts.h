#pragma once

#include <functional>
#include <memory>

#include "core/shortcuts/HotKeyTargets.h"

namespace quillbern {

class AppShell;
class StatusMenu;

// The status item in the desktop's tray, which shows the status menu.
class TrayItem {
public:
    virtual ~TrayItem() = default;
    // False when the desktop has no tray to show it in now; the item then waits for one.
    virtual bool show() = 0;
};

// The Settings window: made on first use and kept for the whole run.
class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;
    // Opens the window, or brings it forward as it was left.
    virtual void open() = 0;
};

// The first-launch walkthrough's window.
class WalkthroughWindow {
public:
    virtual ~WalkthroughWindow() = default;
    // Brings an open walkthrough forward, or opens one at its first step.
    virtual void present() = 0;
    // The window closed, however it was closed; set once by the shell.
    std::function<void()> onClosed;
};

// For parts that show the shell's stores.
template <class Part>
using ShellPartFactory = std::function<std::unique_ptr<Part>(AppShell&)>;

// What the shell creates besides the stores and controllers of the core. Where a part's
// factory is empty, the shell skips what needs it; tests fake the parts.
struct ShellParts {
    std::function<std::unique_ptr<TrayItem>(StatusMenu&)> statusItem;
    ShellPartFactory<SettingsWindow> settingsWindow;
    ShellPartFactory<WalkthroughWindow> walkthrough;

    // Parts the shell can do without; tests may leave them out.
    struct Later {
        // Built in the program: it reads the dock store.
        ShellPartFactory<Palette> fileSearch;
    } later;
};

}  // namespace quillbern
