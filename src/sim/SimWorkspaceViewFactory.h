#pragma once

#include <memory>

#include "core/workspace/WorkspaceViewFactory.h"
#include "sim/SimContentView.h"

namespace quillbern {

// Builds views that only keep what they were built from.
class SimWorkspaceViewFactory final : public WorkspaceViewFactory {
public:
    std::shared_ptr<PanelView> veil(VeilContent content) override {
        return std::make_shared<SimContentView<VeilContent>>(content);
    }
    std::shared_ptr<PanelView> placement(PlacementContent content) override {
        return std::make_shared<SimContentView<PlacementContent>>(std::move(content));
    }
};

}  // namespace quillbern
