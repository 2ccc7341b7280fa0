#pragma once

#include <QColor>
#include <QImage>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/dock/DockFrames.h"
#include "core/model/AppearanceStore.h"
#include "core/model/PinnedStore.h"
#include "core/tiles/LocationBrowser.h"
#include "core/windows/AXPermission.h"
#include "core/windows/WindowEngine.h"
#include "sim/SimWorld.h"

namespace quillbern {
class DockView;
}

namespace quillbern::testing {

inline constexpr DisplayId kLeft = 1;
inline constexpr DisplayId kRight = 2;

// Application icons as squares of one colour per application, so that a rendered dock
// tells which tile shows which application.
class ColourIcons final : public Icons {
public:
    ImageHandle appIcon(const Path& appPath) const override;
    // Docks show no file icons.
    ImageHandle fileIcon(const Path&) const override { return nullptr; }
    ImageHandle runningAppIcon(Pid pid) const override;
    ImageHandle genericAppIcon() const override;
    void paint(const Path& appPath, QColor colour) { colours_[appPath] = colour; }
    void paintWindow(Pid pid, QColor colour) { windowColours_[pid] = colour; }

    static const QColor kGeneric;

private:
    std::map<Path, QColor> colours_;
    std::map<Pid, QColor> windowColours_;
};

// A dock numbered n ("AAAAAAAA-0000-4000-8000-0000000000NN") named "Dock n".
Profile dock(int n, DockEdge edge, std::vector<PinnedItem> items = {}, bool showsWindows = true);
PinnedItem app(const std::string& bundleID, const std::string& name);
// A pinned folder numbered n ("BBBBBBBB-0000-4000-8000-0000000000NN").
PinnedItem folder(int n, const std::string& name, const Path& path);
WindowInfo window(WindowId id, Pid pid, const std::string& appName, DisplayId display);
WindowInfo focused(WindowInfo window);
WindowInfo minimized(WindowInfo window);

// Two displays side by side, the stores and window engine a dock view reads, and
// applications that tests install, run and show windows of.
class TilesWorld {
public:
    TilesWorld();
    ~TilesWorld();

    // Stores the docks, then opens the stores on them; window access as given.
    void open(const std::vector<Profile>& docks, bool trusted = true);
    // Installed (with its own icon colour) and, given a pid, running.
    void install(const AppId& id, const std::string& name, QColor colour);
    void run(Pid pid, const std::optional<AppId>& id, const std::string& name, bool startedHere = false);
    void showWindows(std::vector<WindowInfo> windows);

    // What the frame geometry reads, the running applications counted as the application does.
    DockFrameInputs frameInputs();
    // The size of the panel the frame geometry gives the dock on a 1920 x 1080 display.
    QSize panelSize(int dockNumber, DisplayId display);

    DockContent content(int dockNumber, DisplayId display);
    // A dock's view on a display, at a panel's size.
    std::unique_ptr<DockView> view(int dockNumber, DisplayId display, QSize size);

    SimWorld world;
    ColourIcons icons;
    LocationBrowser locations{{.mainLoop = world.mainLoop,
                               .clock = world.clock,
                               .threads = world.threads,
                               .files = world.files,
                               .folderEvents = world.folders,
                               .thumbnailer = world.thumbnailer,
                               .launcher = world.launcher,
                               .alerts = world.alerts}};
    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PinnedStore> pinned;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<AXPermission> permission;
};

Uuid dockId(int n);
// The view as the screen would show it now.
QImage rendered(DockView& view);
// The pixels of the image inside the rectangle whose colour is near this one.
int pixelsNear(const QImage& image, const QRect& area, QColor colour, int tolerance = 24);

}  // namespace quillbern::testing
