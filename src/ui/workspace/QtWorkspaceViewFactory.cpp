#include "ui/workspace/QtWorkspaceViewFactory.h"

#include "ui/foundation/PanelWidget.h"
#include "ui/workspace/VeilPanel.h"
#include "ui/workspace/WorkspacePreviewView.h"

namespace quillbern {

std::shared_ptr<PanelView> QtWorkspaceViewFactory::veil(VeilContent content) {
    return std::make_shared<QtPanelView>([content](QWidget* panel) { return new VeilPanel(content, panel); });
}

std::shared_ptr<PanelView> QtWorkspaceViewFactory::placement(PlacementContent content) {
    return std::make_shared<QtPanelView>(
        [content, &frames = frames_](QWidget* panel) { return new WorkspacePreviewView(content, frames, panel); });
}

}  // namespace quillbern
