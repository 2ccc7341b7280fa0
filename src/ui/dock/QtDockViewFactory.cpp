#include "ui/dock/QtDockViewFactory.h"

#include "ui/dock/KnockGlintView.h"
#include "ui/dock/LaunchBeaconView.h"
#include "ui/foundation/PanelWidget.h"
#include "ui/tiles/DockView.h"
#include "ui/windows/PreviewCardView.h"

namespace quillbern {

std::shared_ptr<PanelView> QtDockViewFactory::dockBar(DockContent content) {
    return std::make_shared<QtPanelView>([content = std::move(content), &frames = frames_](QWidget* panel) {
        return new DockView(content, frames, panel);
    });
}

std::shared_ptr<PanelView> QtDockViewFactory::launchBeacon(BeaconContent content) {
    return std::make_shared<QtPanelView>([content = std::move(content), &frames = frames_](QWidget* panel) {
        return new LaunchBeaconView(content, frames, panel);
    });
}

std::shared_ptr<PanelView> QtDockViewFactory::knockGlint(GlintContent content) {
    return std::make_shared<QtPanelView>([content](QWidget* panel) { return new KnockGlintView(content, panel); });
}

std::shared_ptr<PanelView> QtDockViewFactory::previewCard(PreviewContent content) {
    return std::make_shared<QtPanelView>([content = std::move(content), &frames = frames_](QWidget* panel) {
        return new PreviewCardView(content, frames, panel);
    });
}

}  // namespace quillbern
