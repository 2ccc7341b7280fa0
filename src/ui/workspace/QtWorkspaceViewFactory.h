#pragma once

#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// The veils' and the placement overlay's views as Qt widgets, each made in the panel that
// shows it.
class QtWorkspaceViewFactory final : public WorkspaceViewFactory {
public:
    std::shared_ptr<PanelView> veil(VeilContent content) override;
    std::shared_ptr<PanelView> placement(PlacementContent content) override;
};

}  // namespace quillbern
