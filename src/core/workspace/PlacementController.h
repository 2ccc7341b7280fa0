#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/model/PinnedStore.h"
#include "core/platform/EventMonitors.h"
#include "core/platform/InputState.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Screens.h"
#include "core/platform/SystemAppearance.h"
#include "core/windows/WindowEngine.h"
#include "core/workspace/WorkspaceController.h"
#include "core/workspace/WorkspacePreviewHolder.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// The ghost grid of the workspace while an application tile is dragged: one click-through
// overlay per screen shows the cells a drop there would take, and a release over the
// desktop hands the drop to the workspace. Driven by the dock store's drag alone: a drag
// that shows no overlay (another kind of tile, or no window access) is only watched until
// its release, so the drag always ends. The drag's end is ours: releases over our docks
// and titled windows get a moment for their own drop handling first; Escape, a change of
// the screens and a time limit end it too. The pointer, the left button and Escape are
// polled, not followed by events. Main thread.
class PlacementController {
public:
    static constexpr Duration kPollInterval = 0.05;
    // What a dock or one of our windows gets to take the drop itself.
    static constexpr Duration kReleaseGrace = 0.25;
    // A drag still held this long after the overlay showed ends.
    static constexpr Duration kSafetyLimit = 20.0;
    static constexpr Animation kFadeIn{0.15, AnimationCurve::easeInOut};
    static constexpr Animation kFadeOut{0.18, AnimationCurve::easeInOut};
    // After a hide: the fade out and a little more.
    static constexpr Duration kOrderOutDelay = 0.2;
    // A release this close to a dock counts as one on the dock.
    static constexpr double kDockDropMargin = 24;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PanelHost& panels;
        WorkspaceViewFactory& views;
        Screens& screens;
        const InputState& input;
        EventMonitors& events;
        SystemAppearance& system;
        RunLoop& mainLoop;
        const Clock& clock;
    };

    PlacementController(Ports ports, const WindowEngine& engine, PinnedStore& pinned, WorkspaceController& workspace);
    PlacementController(const PlacementController&) = delete;
    PlacementController& operator=(const PlacementController&) = delete;

    // After every assignment of the dock store's drag, whatever its value.
    void dragSessionChanged();

    // From the show of an application drag to the next hide.
    bool isActive() const { return active_; }

private:
    struct Overlay {
        // Before the panel, so the panel's view never outlives what it draws.
        std::unique_ptr<WorkspacePreviewHolder> holder;
        std::unique_ptr<Panel> panel;
        // Taken when the overlay was made; a screen without one is never drawn on.
        std::optional<DisplayId> displayID;
        RectBL screenFrame;
        RectBL visibleFrame;
    };

    void show(const std::string& itemID);
    void hide();
    void watchForRelease();
    bool screensChanged(const std::vector<ScreenInfo>& screens) const;
    void rebuildOverlays(const std::vector<ScreenInfo>& screens);
    void zonePollTick(const std::string& itemID);
    void releaseWatchTick(std::int64_t generation);
    void updatePreviewFromMouse(const std::string& itemID);
    // Decides, at the release of a shown drag, whether and where to drop.
    void dragDidEnd();
    void tapEvent(const KeyTapEvent& event);
    void teardownSessionInfra();
    // Under the pointer: one of our docks or titled windows, whose drop handling comes first.
    bool overOwnDropTarget(PointBL mouse) const;
    // The same at the drop, docks counted with their margin.
    bool overOwnWindowAtDrop(PointBL mouse) const;
    void endDrag();

    Ports ports_;
    const WindowEngine& engine_;
    PinnedStore& pinned_;
    WorkspaceController& workspace_;
    // One per screen, in the screens' order; kept from drag to drag.
    std::vector<Overlay> overlays_;
    bool active_ = false;
    // Raised by every show and every effective hide: guards the delayed drop and order-out.
    std::int64_t showGeneration_ = 0;
    // Raised by every assignment of the drag: guards the release watch's delayed end.
    std::int64_t watchGeneration_ = 0;
    Timer zonePoll_;
    Timer safetyTimer_;
    Subscription screenObserver_;
    Timer releaseWatch_;
    // Escape came through the tap since the show.
    bool escLatched_ = false;
    std::unique_ptr<KeyTap> escTap_;
    // Last, so that what the timers and taps post dies first.
    Lifetime lifetime_;
};

}  // namespace quillbern
