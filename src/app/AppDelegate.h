#pragma once

#include <memory>

#include "app/Platform.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

class WindowEngine;
class PreviewStore;
class PinnedStore;
class DockPreferences;
class AppearanceStore;
class AXPermission;
class DockController;
class PinnedStoreLaunches;
class StatusItem;
class DockSuppressor;
class LoginItem;
class HotKeyDispatch;

// Creates the program's long-lived objects in order, wires them, and takes them down
// again at the end of the run.
class AppDelegate {
public:
    explicit AppDelegate(Platform& platform);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    PinnedStore& pinnedStore() { return *pinnedStore_; }
    AppearanceStore& appearanceStore() { return *appearanceStore_; }

private:
    Platform& platform_;
    std::unique_ptr<WindowEngine> windowEngine_;
    std::unique_ptr<PreviewStore> previewStore_;
    std::unique_ptr<PinnedStore> pinnedStore_;
    std::unique_ptr<DockPreferences> dockPreferences_;
    std::unique_ptr<AppearanceStore> appearanceStore_;
    std::unique_ptr<DockSuppressor> suppressor_;
    std::unique_ptr<LoginItem> loginItem_;
    std::unique_ptr<AXPermission> permission_;
    std::unique_ptr<PinnedStoreLaunches> launches_;
    std::unique_ptr<StatusItem> statusItem_;
    std::unique_ptr<HotKeyDispatch> hotKeys_;
    Subscription preferencesChanged_;
    std::unique_ptr<DockController> dockController_;
};

}  // namespace quillbern
