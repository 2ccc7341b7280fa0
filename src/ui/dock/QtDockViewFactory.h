#pragma once

#include "core/dock/DockViewFactory.h"

namespace quillbern {

// The docks' panel views as Qt widgets, each made in the panel that shows it.
class QtDockViewFactory final : public DockViewFactory {
public:
    std::shared_ptr<PanelView> dockBar(DockContent content) override;
    std::shared_ptr<PanelView> launchBeacon(BeaconContent content) override;
    std::shared_ptr<PanelView> knockGlint(GlintContent content) override;
    std::shared_ptr<PanelView> previewCard(PreviewContent content) override;
};

}  // namespace quillbern
