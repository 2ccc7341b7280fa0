#pragma once

#include <memory>

#include "core/dock/DockViewFactory.h"
#include "sim/SimContentView.h"

namespace quillbern {

// Builds views that only keep what they were built from.
class SimDockViewFactory final : public DockViewFactory {
public:
    std::shared_ptr<PanelView> dockBar(DockContent content) override { return made(std::move(content)); }
    std::shared_ptr<PanelView> launchBeacon(BeaconContent content) override { return made(std::move(content)); }
    std::shared_ptr<PanelView> knockGlint(GlintContent content) override { return made(std::move(content)); }
    std::shared_ptr<PanelView> previewCard(PreviewContent content) override { return made(std::move(content)); }

private:
    template <class Content>
    static std::shared_ptr<PanelView> made(Content content) {
        return std::make_shared<SimContentView<Content>>(std::move(content));
    }
};

}  // namespace quillbern
