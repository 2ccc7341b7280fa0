#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/platform/ScreenGeometry.h"
#include "core/platform/SystemThreads.h"
#include "core/shell/Platform.h"
#include "linux/freedesktop/LinuxThumbnailer.h"
#include "linux/process/LinuxProcesses.h"
#include "linux/qt/QtClipboard.h"
#include "linux/qt/QtKeyboardGrabber.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11UserTime.h"

namespace quillbern {

class QtRunLoop;
class FrameClock;
class JsonFileDefaults;
class IcuTextServices;
class QtAlerts;
class LinuxSystemAppearance;
class X11Connection;
class X11Compositing;
class X11Screens;
class X11InputState;
class X11EventMonitors;
class X11KeyboardLayout;
class X11HotKeys;
class X11WindowAccess;
class X11OnScreenWindows;
class X11Permissions;
class X11WindowCapture;
class X11Restacks;
class QtPanelHost;
class QtPaletteViewFactory;
class QtDockViewFactory;
class QtWorkspaceViewFactory;
class QtMenus;
class X11RunningApps;
class X11SessionEvents;
class LinuxFileSystem;
class LinuxFolderEvents;
class QtIcons;
class LinuxLauncher;
class LinuxAppCatalog;
class LinuxNativeDockPreferences;
class LinuxLoginService;
class LinuxAppProcess;
class DBusSessionEvents;
class SingleInstance;
class QtFolderPicker;
class GettextLocalizer;

// Owns the real backends of the ports on a Linux desktop; lives for the whole run.
class LinuxPlatform {
public:
    // The interface language of this run (gettext's name, none for English): the one chosen in
    // Settings, read from the settings file, else the desktop's. Before Qt starts, and with
    // it the first threads: settling it sets the environment.
    static std::optional<std::string> settleLanguage();
    // Null (logged) when the X server cannot be reached. `instance` is this program's claim
    // to be the one running in the session; `language` the settled one.
    static std::unique_ptr<LinuxPlatform> open(std::unique_ptr<SingleInstance> instance,
                                               std::optional<std::string> language);
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    Platform& ports() { return *ports_; }
    // Where the primary display stands in X root coordinates; any thread.
    DesktopSpace desktopSpace() const;
    // At the end, before the shell goes: the thumbnail being made is given up at once, so the
    // thread that makes them ends without waiting for it.
    void stopMakingThumbnails();
    // Ends the backends' own workers, each within its limit, while every backend they may
    // use is still whole; one that does not end in time is left behind.
    void stopWorkers();
    // A worker thread may still use the backends: they must not be destroyed.
    bool hasLeftWorkersBehind() const { return threads_.hasLeftWorkersBehind(); }

private:
    LinuxPlatform(std::unique_ptr<X11Connection> connection, std::unique_ptr<SingleInstance> instance,
                  std::optional<std::string> language);

    SystemClock clock_;
    RandomUuidSource uuids_;
    SystemThreads threads_;
    LinuxProcesses processes_;
    QtClipboard clipboard_;
    QtKeyboardGrabber keyboardGrabber_;
    X11HiddenApps hiddenApps_;
    X11UserTime userTime_{clock_};
    std::unique_ptr<QtRunLoop> mainLoop_;
    // Outlives the panels and the views that animate on it.
    std::unique_ptr<FrameClock> frames_;
    std::unique_ptr<JsonFileDefaults> defaults_;
    // Installed from here on; the text services speak its language.
    std::unique_ptr<GettextLocalizer> localizer_;
    std::unique_ptr<IcuTextServices> text_;
    std::unique_ptr<QtAlerts> alerts_;
    std::unique_ptr<X11Connection> connection_;
    std::unique_ptr<X11Compositing> compositing_;
    std::unique_ptr<LinuxSystemAppearance> appearance_;
    std::unique_ptr<X11Screens> screens_;
    std::unique_ptr<X11InputState> input_;
    std::unique_ptr<X11KeyboardLayout> keyboardLayout_;
    std::unique_ptr<X11Restacks> restacks_;
    std::unique_ptr<QtPanelHost> panels_;
    std::unique_ptr<QtPaletteViewFactory> paletteViews_;
    std::unique_ptr<QtDockViewFactory> dockViews_;
    std::unique_ptr<QtWorkspaceViewFactory> workspaceViews_;
    std::unique_ptr<QtMenus> menus_;
    std::unique_ptr<X11EventMonitors> events_;
    std::unique_ptr<X11HotKeys> hotKeys_;
    std::unique_ptr<X11WindowAccess> windowAccess_;
    std::unique_ptr<X11OnScreenWindows> onScreenWindows_;
    std::unique_ptr<X11Permissions> permissions_;
    std::unique_ptr<LinuxAppCatalog> catalog_;
    std::unique_ptr<X11RunningApps> apps_;
    std::unique_ptr<X11SessionEvents> desktopEvents_;
    std::unique_ptr<DBusSessionEvents> session_;
    std::unique_ptr<X11WindowCapture> capture_;
    std::unique_ptr<LinuxLauncher> launcher_;
    std::unique_ptr<LinuxFileSystem> files_;
    std::unique_ptr<LinuxFolderEvents> folders_;
    std::unique_ptr<QtIcons> icons_;
    LinuxThumbnailer thumbnailer_;
    std::unique_ptr<LinuxNativeDockPreferences> nativeDock_;
    std::unique_ptr<LinuxLoginService> login_;
    std::unique_ptr<LinuxAppProcess> process_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<QtFolderPicker> folderPicker_;
    std::unique_ptr<Platform> ports_;
    // Applications installed while the program runs bring icons.
    Subscription installedIcons_;
};

}  // namespace quillbern
