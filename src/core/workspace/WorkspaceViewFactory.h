#pragma once

#include <memory>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Geometry.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

class Clock;
class RunLoop;
class SystemAppearance;
class WorkspacePreviewHolder;

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

// Builds the views of the veils' and the placement overlay's panels, which a panel takes
// over. Main thread.
class WorkspaceViewFactory {
public:
    virtual ~WorkspaceViewFactory() = default;

    virtual std::shared_ptr<PanelView> veil(VeilContent content) = 0;
    virtual std::shared_ptr<PanelView> placement(PlacementContent content) = 0;
};

}  // namespace quillbern
