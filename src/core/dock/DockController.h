#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/dock/DockFrames.h"
#include "core/dock/LaunchBeaconController.h"
#include "core/dock/PanelKey.h"
#include "core/foundation/Lifetime.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Screens.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// Owns every dock panel: one per display and visible dock that stands on it, at the
// frame the dock geometry gives. Rebuilds the panels when the screens or the dock layout
// change, moves them when what decides their frames changes. Main thread.
class DockController {
public:
    static constexpr Animation kFrameChange{0.15, AnimationCurve::easeOut};

    struct Ports {
        PanelHost& panels;
        Screens& screens;
        const InputState& input;
        SystemAppearance& system;
        RunLoop& mainLoop;
        const Clock& clock;
    };

    DockController(Ports ports, WindowEngine& engine, PinnedStore& pinned, const DockPreferences& preferences,
                   AppearanceStore& appearance, TransientAppCount transientApps, LaunchingApps& launching);
    ~DockController();
    DockController(const DockController&) = delete;
    DockController& operator=(const DockController&) = delete;

    // Builds the panels and follows the screens and the dock store.
    void start();
    // Undoes start and closes every panel; the dock store keeps its content callback,
    // which then finds no panel to move.
    void stop();
    // Makes the panels match the visible docks and the screens.
    void rebuildPanels();
    // Moves the existing panels whose frames changed; never opens or closes one.
    void refreshFrames();

    // The docks that stand on this screen and their frames; none for a screen without
    // both display identities.
    std::vector<StackedFrame> stackedFrames(const ScreenInfo& screen) const;
    // The resting frame of a panel; none when its screen or dock gives none.
    std::optional<RectBL> stackedFrame(const PanelKey& key) const;

    // The serial of the panel of this key.
    std::optional<std::uint64_t> panelSerial(const PanelKey& key) const;
    std::vector<PanelKey> panelKeys() const;

    // Made on first use.
    LaunchBeaconController& beacon();

    // A Command-click on any dock; set by the application.
    std::function<void()> onCommandClick;

private:
    std::unique_ptr<Panel> makePanel(const PanelKey& key, RectBL frame);
    DockFrameInputs frameInputs() const;
    // Visible and switched on, in list order.
    std::vector<Profile> visibleProfiles() const;

    Ports ports_;
    WindowEngine& engine_;
    PinnedStore& pinned_;
    const DockPreferences& preferences_;
    AppearanceStore& appearance_;
    TransientAppCount transientApps_;
    LaunchingApps& launching_;
    std::map<PanelKey, std::unique_ptr<Panel>> panels_;
    Subscription screenObserver_;
    std::unique_ptr<LaunchBeaconController> beacon_;
    Lifetime lifetime_;
};

}  // namespace quillbern
