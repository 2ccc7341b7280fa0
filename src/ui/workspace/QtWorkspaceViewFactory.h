#pragma once

#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

class FrameClock;

// The veils' and the placement overlay's views as Qt widgets, each made in the panel that
// shows it; their animations run on the frame clock.
class QtWorkspaceViewFactory final : public WorkspaceViewFactory {
public:
    explicit QtWorkspaceViewFactory(FrameClock& frames) : frames_(frames) {}

    std::shared_ptr<PanelView> veil(VeilContent content) override;
    std::shared_ptr<PanelView> placement(PlacementContent content) override;

private:
    FrameClock& frames_;
};

}  // namespace quillbern
