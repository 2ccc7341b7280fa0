#include "core/workspace/VeilPanels.h"

namespace quillbern {

std::unique_ptr<Panel> makeVeilPanel(PanelHost& host, WorkspaceViewFactory& views, const RectBL& screenFrame) {
    return host.createPanel(PanelStyle{PanelLevel::veil, true}, screenFrame, views.veil({screenFrame}));
}

void closeVeilPanel(std::unique_ptr<Panel> panel) {
    panel->clearVeilEffects();
    panel->setAlpha(0);
    panel->orderOut();
}

}  // namespace quillbern
