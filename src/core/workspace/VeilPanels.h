#pragma once

#include <memory>

#include "core/foundation/Geometry.h"
#include "core/platform/PanelHost.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// What the landing spotlight and focus mode share of their veils: a panel of the lowest
// level over one whole screen, which clicks pass through. Main thread.

// Made ordered out; the veil shows once Panel::setVeil has drawn it.
std::unique_ptr<Panel> makeVeilPanel(PanelHost& host, WorkspaceViewFactory& views, const RectBL& screenFrame);
// Drops the veil's effects first, since the window system keeps them past the panel.
void closeVeilPanel(std::unique_ptr<Panel> panel);

}  // namespace quillbern
