#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/palettes/PaletteViewFactory.h"
#include "core/platform/EventMonitors.h"
#include "core/platform/InputState.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Screens.h"

namespace quillbern {

// What every palette needs of the system.
struct PalettePorts {
    [[no_unique_address]] FilledByName<PalettePorts> byName{};
    PanelHost& panels;
    PaletteViewFactory& views;
    const Screens& screens;
    const InputState& input;
    EventMonitors& events;
    RunLoop& mainLoop;
};

// Where a palette stands in its display's visible frame; always centred across it.
enum class PalettePlacement {
    // The top edge on the line 22 % below the top: the searches, whose lists grow downwards.
    searchLine,
    // Centred: the overview and the shortcut sheet.
    centred,
};

// A palette's size on a display: what its content asks for, at most the visible height
// less 80.
Size paletteSize(Size fitting, const ScreenInfo& screen);
// The frame of a palette as it opens. Halves round away from zero. A palette on the
// search line whose bottom would fall below the visible frame stands on its bottom edge
// instead, so no row is out of reach.
RectBL paletteFrame(Size size, const RectBL& visibleFrame, PalettePlacement placement);
// The frame after the content changed shape: top edge and horizontal centre kept, with
// the same hold at the bottom for the search line.
RectBL relaidPaletteFrame(Size size, const RectBL& current, const RectBL& visibleFrame, PalettePlacement placement);

// Where a palette departs from the common rules (the overview does).
struct PaletteOptions {
    // The panel's size on a display for its content's fitting size; paletteSize when unset.
    std::function<Size(Size fitting, const ScreenInfo& screen)> size;
    // A relayout keeps the panel's centre rather than its top edge.
    bool relayoutKeepsCentre = false;
    // A Command-click in another of our windows leaves the palette to that window's own
    // handling of it (a dock's toggles the overview).
    bool ignoresCommandClicks = false;
    // The panel offers no key equivalents and takes Command-period as Escape.
    bool withoutKeyEquivalents = false;
};

// The frame after a relayout that keeps the centre, its origin rounded.
RectBL recentredPaletteFrame(Size size, const RectBL& current);

// The rules every palette follows on screen: it opens on the display under the pointer,
// sized to its content and placed on that display, on a panel of its own that takes the
// keyboard; a click outside it or the loss of the keyboard dismisses it; each show starts
// from nothing. Callbacks reach the palette only while it lives. Main thread.
class PalettePresenter {
public:
    // `dismiss` is the palette's whole dismissal, which outside clicks and the loss of the
    // keyboard call.
    PalettePresenter(PalettePorts ports, PalettePlacement placement, Task dismiss, PaletteOptions options = {});
    ~PalettePresenter();
    PalettePresenter(const PalettePresenter&) = delete;
    PalettePresenter& operator=(const PalettePresenter&) = delete;

    // The display under the pointer, else the main one, else the first; none without
    // displays.
    std::optional<ScreenInfo> screenForShowing() const;
    // Opens the view on the screen, makes it key with its keys going to `keys`, then
    // watches clicks: outside our program (handled one turn later) and in our other
    // windows, which still get their click.
    void present(const ScreenInfo& screen, std::shared_ptr<PaletteView> view, PanelKeyHandlers keys);
    // Stops watching clicks, runs the palette's own teardown, then closes the panel.
    // Nothing happens twice: safe when hidden and from inside the panel's own handlers.
    void dismiss(const Task& teardown = {});
    // The content changed shape: it is measured and placed again one turn later.
    void contentShapeChanged();
    // While `held` answers true (a menu of the palette's is open), clicks in our own
    // windows and the loss of the keyboard leave the palette alone, and a click in another
    // application goes to `clickElsewhere` instead of dismissing it.
    void holdWhile(std::function<bool()> held, Task clickElsewhere);
    // While `asked` answers true (the system asks the user something on the palette's
    // behalf), a click in another application and the loss of the keyboard leave the
    // palette open; a click in our own windows still closes it.
    void standAsideWhile(std::function<bool()> asked);

    // A panel is open and on screen.
    bool isShown() const;
    const Panel* panel() const { return panel_.get(); }
    Panel* panel() { return panel_.get(); }

private:
    void relayout();
    Size sizeOn(const ScreenInfo& screen) const;
    bool isHeld() const { return held_ && held_(); }
    bool standsAside() const { return standAside_ && standAside_(); }

    PalettePorts ports_;
    PalettePlacement placement_;
    Task dismiss_;
    PaletteOptions options_;
    std::function<bool()> held_;
    Task heldClickElsewhere_;
    std::function<bool()> standAside_;
    std::unique_ptr<Panel> panel_;
    std::shared_ptr<PaletteView> view_;
    Subscription globalClicks_;
    Subscription localClicks_;
    Lifetime lifetime_;
};

}  // namespace quillbern
