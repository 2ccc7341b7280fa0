#pragma once

#include "core/dock/DockViewFactory.h"

namespace quillbern {

class FrameClock;

// The docks' panel views as Qt widgets, each made in the panel that shows it; their
// animations run on the frame clock.
class QtDockViewFactory final : public DockViewFactory {
public:
    explicit QtDockViewFactory(FrameClock& frames) : frames_(frames) {}

    std::shared_ptr<PanelView> dockBar(DockContent content) override;
    std::shared_ptr<PanelView> launchBeacon(BeaconContent content) override;
    std::shared_ptr<PanelView> knockGlint(GlintContent content) override;
    std::shared_ptr<PanelView> previewCard(PreviewContent content) override;

private:
    FrameClock& frames_;
};

}  // namespace quillbern
