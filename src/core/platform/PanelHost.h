#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "core/foundation/Color.h"
#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/KeyEvent.h"

namespace quillbern {

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

// What a panel shows beyond a plain fill: a view that its feature's view factory built (a
// port of that feature's folder, such as PaletteViewFactory), which the panel takes over.
// The host knows no feature's view.
class PanelView {
public:
    virtual ~PanelView() = default;
};

using PanelContent = std::variant<PlainFill, std::shared_ptr<PanelView>>;

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
