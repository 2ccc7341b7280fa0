#include <algorithm>

#include "core/dock/DockController.h"
#include "core/dock/PreviewPlacement.h"
#include "core/platform/ScreenGeometry.h"

namespace quillbern {

void DockController::hoverChanged(const std::optional<WindowInfo>& window, const PanelKey& key) {
    expectOnLoop(ports_.mainLoop);
    previews_.hover(window);
    if (window) previewOwner_ = key;
    const auto dock = panels_.find(key);
    if (!previews_.isEnabled() || !previews_.isGranted() || !window || dock == panels_.end()) {
        // A hover of the next tile soon after keeps the panel where it is.
        previewHide_ = ports_.mainLoop.after(preview::kHideDelay, lifetime_.guard([this] {
            if (previewPanel_) previewPanel_->orderOut();
        }));
        return;
    }
    previewHide_.cancel();
    if (!previewPanel_) {
        PanelStyle style;
        style.level = PanelLevel::dock;
        style.ignoresMouse = true;
        PreviewContent content;
        content.store = &previews_;
        content.appIcon = [this](Pid pid) -> ImageHandle {
            const std::optional<RunningApp> app = ports_.apps.app(pid);
            return app ? pinned_.icon(*app) : nullptr;
        };
        content.system = &ports_.system;
        content.mainLoop = &ports_.mainLoop;
        content.clock = &ports_.clock;
        const RectBL frame{0, 0, preview::kPanelSize.width, preview::kPanelSize.height};
        previewPanel_ = ports_.panels.createPanel(style, frame, ports_.views.previewCard(std::move(content)));
    }
    const std::optional<RectBL> frame = previewFrame(key, *dock->second);
    if (!frame) return;
    previewPanel_->setFrame(*frame);
    previewPanel_->orderFront();
}

std::optional<RectBL> DockController::previewFrame(const PanelKey& key, const Panel& panel) const {
    const Profile* profile = pinned_.findProfile(key.profile);
    if (!profile) return std::nullopt;
    const ScreenInfo* screen = screenWithID(key.display);
    // Centred on the pointer as it opens: the pointer may have jumped onto the tile, which
    // the copy of a motion-following reading learns only a reading later.
    return preview::frame(profile->edge, ports_.input.pointerNow(), panel.frame(),
                          screen ? std::optional(screen->visibleFrame) : std::nullopt);
}

void DockController::hidePreview(const PanelKey& ownedBy) {
    if (previewOwner_ == ownedBy) hidePreviewNow();
}

void DockController::hidePreviewNow() {
    expectOnLoop(ports_.mainLoop);
    previews_.clearNow();
    previewHide_.cancel();
    // Kept for the next preview.
    if (previewPanel_) previewPanel_->orderOut();
    previewOwner_.reset();
}

void DockController::dismissRevealedDocks(PointBL clickAt) {
    expectOnLoop(ports_.mainLoop);
    if (!preferences_.autoHide() || isPeeking_ || isPlacingDrag()) return;
    const auto nearShown = [&](const PanelKey& key, const Panel& panel) {
        return !concealed_.contains(key) &&
               panel.frame().insetBy(-reveal::kFrameMargin, -reveal::kFrameMargin).contains(clickAt);
    };
    // A click on or near any revealed dock keeps every dock.
    for (const auto& [key, panel] : panels_) {
        if (nearShown(key, *panel)) return;
    }
    for (const auto& [group, members] : groups_) {
        const ScreenInfo* screen = screenWithID(group.display);
        if (!screen || members.empty()) continue;
        if (std::all_of(members.begin(), members.end(), [this](const Member& m) { return concealed_.contains(m.key); }))
            continue;
        const bool locked = std::any_of(members.begin(), members.end(), [this](const Member& m) {
            const auto it = interactionLocks_.find(m.key);
            return it != interactionLocks_.end() && it->second > 0;
        });
        const bool inside =
            std::any_of(members.begin(), members.end(), [&](const Member& m) { return nearShown(m.key, *m.panel); });
        const RectBL zone = edgeZone(group.edge, *screen).first;
        if (locked || inside || pointerInStrip(clickAt, group.edge, *screen, members, zone)) continue;
        for (const Member& m : members)
            conceal(m.key);
    }
}

}  // namespace quillbern
