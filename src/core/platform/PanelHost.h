#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/foundation/Color.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Uuid.h"
#include "core/platform/KeyEvent.h"
#include "core/platform/Screens.h"
#include "core/platform/Types.h"

namespace quillbern {

class Alerts;
class AppCatalog;
class AppearanceStore;
class AXPermission;
class Clock;
class FileSystem;
class FolderEvents;
class Launcher;
class LocationBrowser;
class PaletteView;
class PinnedStore;
class PreviewStore;
class RunningApps;
class SystemAppearance;
class WindowEngine;
class WorkspaceMembers;
class WorkspacePreviewHolder;
struct PinnedApp;
struct WindowInfo;

// Our stacking order: a level stands above every lower one, whatever was ordered last.
enum class PanelLevel { veil, placement, dock, palette };

struct PanelStyle {
    PanelLevel level = PanelLevel::dock;
    bool ignoresMouse = false;  // clicks go through to what lies below
    // A palette's panel: it takes the keyboard when made key; every other panel never
    // takes focus.
    bool takesKeyFocus = false;
    // A key-taking panel without key equivalents, where Command-period is Escape.
    bool withoutKeyEquivalents = false;
    // A dock or the launch beacon: a drop near it belongs to the dock, not to the desktop.
    bool isDockPanel = false;
};

// A panel filled with one colour.
struct PlainFill {
    Color color;
    bool operator==(const PlainFill&) const = default;
};

// One dock's bar on one display; the view reads the stores and follows their changes.
struct DockContent {
    [[no_unique_address]] FilledByName<DockContent> byName{};
    WindowEngine* engine = nullptr;
    PinnedStore* pinned = nullptr;
    AppearanceStore* appearance = nullptr;
    SystemAppearance* system = nullptr;
    // Asked when the user wants the running applications listed without window access.
    AXPermission* permission = nullptr;
    // Hides and quits applications for their tiles' menus.
    RunningApps* apps = nullptr;
    // For the view's delays and animations.
    RunLoop* mainLoop = nullptr;
    const Clock* clock = nullptr;
    // Files dropped on the dock, the Trash tile and its watch.
    FileSystem* files = nullptr;
    FolderEvents* folders = nullptr;
    AppCatalog* catalog = nullptr;
    Launcher* launcher = nullptr;
    Alerts* alerts = nullptr;
    Uuid profile;
    DisplayId display = 0;

    // What the dock's owner hears of its tiles; each may stay unset. The view only hands
    // them on to its tiles.
    // The pointer came onto a tile whose application has this window to preview, or left.
    std::function<void(const std::optional<WindowInfo>&)> onHoverTile;
    // While true, something the dock opened needs it to stay out (one count per call).
    std::function<void(bool)> onInteractionLock;
    // A pinned application that did not run was started from the dock.
    std::function<void(const PinnedApp&)> onColdLaunch;

    // Whose members the tiles' menus offer to take out; may be absent.
    WorkspaceMembers* workspace = nullptr;
    // Lists pinned folders for their popovers; none opens no popover.
    LocationBrowser* locations = nullptr;
};

// One application of the launch beacon.
struct BeaconTileContent {
    std::string appId;
    std::string name;
    ImageHandle icon;
    bool isLaunching = false;
    bool operator==(const BeaconTileContent&) const = default;
};

// The launch beacon: a row of ringed tiles on a slab.
struct BeaconContent {
    std::vector<BeaconTileContent> tiles;
    double tileSize = 0;
    double cornerRadius = 0;
    Color accent;
    bool reduceMotion = false;
    bool reduceTransparency = false;
    bool canBlend = true;
    bool operator==(const BeaconContent&) const = default;
};

// The glint of an armed knock: a thin line glowing in the accent colour along its edge.
struct GlintContent {
    // Along a left or right edge.
    bool vertical = false;
    Color accent;
    bool operator==(const GlintContent&) const = default;
};

// The hover preview's card, drawn from the preview store and redrawn as it changes: the
// hovered window's picture once the store has one for it, else its application's icon,
// and its title.
struct PreviewContent {
    [[no_unique_address]] FilledByName<PreviewContent> byName{};
    PreviewStore* store = nullptr;
    // The icon of the running application of this process; null when none is known.
    std::function<ImageHandle(Pid)> appIcon;
    // Whether the card may be translucent.
    SystemAppearance* system = nullptr;
    // For the card's fades.
    RunLoop* mainLoop = nullptr;
    const Clock* clock = nullptr;
};

// A palette's view, built and measured before its panel opens; the panel takes it over.
struct PaletteContent {
    std::shared_ptr<PaletteView> view;
    bool operator==(const PaletteContent&) const = default;
};

// A veil over one screen: dims it all but a rounded hole, which a faint ring outlines.
// The hole and the dimming come through Panel::setVeil.
struct VeilContent {
    // The screen's frame when the panel was made; the hole is placed against it.
    RectBL coveredFrame;
    bool operator==(const VeilContent&) const = default;
};

// The ghost grid over one screen while an application tile is dragged: the cells the
// workspace would take, one of them highlighted, or a notice. The view follows the holder.
struct PlacementContent {
    [[no_unique_address]] FilledByName<PlacementContent> byName{};
    const WorkspacePreviewHolder* holder = nullptr;
    // The accent colour, and whether translucency blends with what lies below.
    SystemAppearance* system = nullptr;
    // For the cells' animations.
    RunLoop* mainLoop = nullptr;
    const Clock* clock = nullptr;
};

// What a panel shows; each feature adds the inputs of its view.
using PanelContent = std::variant<PlainFill, DockContent, BeaconContent, PaletteContent, VeilContent, GlintContent,
                                  PreviewContent, PlacementContent>;

// Where a key-taking panel sends its keys. Each may be absent.
struct PanelKeyHandlers {
    // Escape; consumed whether set or not.
    Task onCancel;
    // Any other key; true when handled, else the panel's own handling goes on.
    std::function<bool(const KeyEvent&)> onKey;
    // A key with Command (Ctrl inside our program), offered before anything else sees it;
    // true when handled.
    std::function<bool(const KeyEvent&)> onKeyEquivalent;
    // The panel stopped being the one that takes the keyboard.
    Task onResignKey;
};

enum class AnimationCurve { linear, easeIn, easeOut, easeInOut };

struct Animation {
    Duration duration = 0;
    AnimationCurve curve = AnimationCurve::easeOut;
};

// One floating panel of ours: stands on every desktop and takes focus only when its style
// says so. Destroying the handle closes it, also from inside one of its own callbacks.
class Panel {
public:
    virtual ~Panel() = default;

    // Never reused by the host: compare serials, not pointers.
    virtual std::uint64_t serial() const = 0;
    virtual RectBL frame() const = 0;
    virtual void setFrame(RectBL frame) = 0;
    virtual double alpha() const = 0;
    virtual void setAlpha(double alpha) = 0;
    // Moves towards the given values from the current ones. onDone runs on the main run
    // loop once, when the animation ends or a newer one replaces it.
    virtual void animate(Animation animation, std::optional<double> alpha, std::optional<RectBL> frame,
                         Task onDone = {}) = 0;
    // Shows the panel on top of its level, without activating our application.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    virtual void setContent(PanelContent content) = 0;
    // A click with Command (Ctrl inside our program) held: the handler runs instead of the
    // content's own press handling.
    virtual void setCommandClickHandler(Task handler) = 0;

    // Key-taking panels: shows the panel on top of its level and gives it the keyboard,
    // taking it from whichever application has it.
    virtual void makeKeyAndOrderFront() = 0;
    virtual bool isKey() const = 0;
    // Replaces the handlers; a handler running meanwhile finishes.
    virtual void setKeyHandlers(PanelKeyHandlers handlers) = 0;
    // Veil panels: the hole in screen space (none, or one that shares no area with the
    // covered frame: the whole screen is dimmed, without a ring) and the opacity of the
    // dimming, 0 to 1. Drawn at once, without animation; a call that changes neither draws
    // nothing. Other panels ignore it.
    virtual void setVeil(std::optional<RectBL> hole, double intensity) = 0;
    // Veil panels: drops what the veil asked of the window system beyond its own drawing
    // (the blur behind it), before the panel closes.
    virtual void clearVeilEffects() = 0;
};

// One of our own top-level windows: a panel, or a window such as Settings.
struct OwnWindow {
    // A panel's serial; 0 for a window that is no panel.
    std::uint64_t serial = 0;
    bool isVisible = false;
    RectBL frame;
    // Made with PanelStyle::isDockPanel.
    bool isDockPanel = false;
    // Has a title bar: a window the user works in.
    bool isTitled = false;
    // A panel's level; none for an ordinary window.
    std::optional<PanelLevel> level;
    // Holds the desktop's keyboard focus.
    bool hasFocus = false;
    bool operator==(const OwnWindow&) const = default;
};

class PanelHost {
public:
    virtual ~PanelHost() = default;

    // The panel starts ordered out.
    virtual std::unique_ptr<Panel> createPanel(const PanelStyle& style, RectBL frame, PanelContent content) = 0;
    // Every top-level window of our program, panels or not, front to back.
    virtual std::vector<OwnWindow> ownWindows() const = 0;
};

}  // namespace quillbern
