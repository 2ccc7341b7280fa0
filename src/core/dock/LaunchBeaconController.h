#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/dock/DockViewFactory.h"
#include "core/dock/LaunchingApps.h"
#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/platform/InputState.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Screens.h"
#include "core/platform/SystemAppearance.h"

namespace quillbern {

// The launch beacon: while applications that a dock started are launching, a panel in
// the middle of the display under the pointer shows one ringed tile per application. At
// most one live beacon per display; it goes once nothing of it is launching and at least
// a second has passed since it came up or last took in a launch. Main thread.
class LaunchBeaconController {
public:
    static constexpr Duration kMinimumShown = 1.0;
    static constexpr Animation kAppear{0.24, AnimationCurve::easeOut};
    static constexpr Animation kMove{0.25, AnimationCurve::easeInOut};
    static constexpr Animation kDisappear{0.22, AnimationCurve::easeIn};

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PanelHost& panels;
        DockViewFactory& views;
        const Screens& screens;
        const InputState& input;
        const SystemAppearance& system;
        RunLoop& mainLoop;
        const Clock& clock;
    };

    struct Entry {
        std::string bundleID;
        std::string name;
        // The icon at the moment of the launch.
        ImageHandle icon;
        bool operator==(const Entry&) const = default;
    };

    LaunchBeaconController(Ports ports, LaunchingApps& launching, const DockPreferences& preferences,
                           const AppearanceStore& appearance);
    LaunchBeaconController(const LaunchBeaconController&) = delete;
    LaunchBeaconController& operator=(const LaunchBeaconController&) = delete;

    // A dock tile has just started the application, which is now launching.
    void coldLaunchBegan(const PinnedApp& app);
    // Closes every beacon at once and forgets everything but the generation count.
    void reset();

    // Launched on that display and not yet seen to arrive.
    std::vector<Entry> pending(DisplayId display) const;
    // What that display's beacon shows, in order of first appearance.
    std::vector<Entry> presented(DisplayId display) const;
    // The serial of the display's live beacon panel.
    std::optional<std::uint64_t> shownPanel(DisplayId display) const;

private:
    struct Shown {
        std::unique_ptr<Panel> panel;
        MediaTime shownAt;
        std::uint64_t generation = 0;
        // Whether some tile was launching when the view last looked.
        bool anyLaunching = false;
    };

    void present(DisplayId display);
    void prune(DisplayId display);
    void allArrived(DisplayId display);
    void dismiss(DisplayId display);
    void launchingChanged();
    BeaconContent content(const std::vector<Entry>& entries) const;
    bool anyLaunching(const std::vector<Entry>& entries) const;

    Ports ports_;
    LaunchingApps& launching_;
    const DockPreferences& preferences_;
    const AppearanceStore& appearance_;
    std::map<DisplayId, std::vector<Entry>> pending_;
    std::map<DisplayId, std::vector<Entry>> presented_;
    std::map<DisplayId, RectBL> screenAreas_;
    std::map<DisplayId, Shown> shown_;
    std::uint64_t generationCounter_ = 0;
    // Dismissed panels that are still fading out, by serial.
    std::map<std::uint64_t, std::unique_ptr<Panel>> fading_;
    Subscription launchingObserver_;
    Lifetime lifetime_;
};

}  // namespace quillbern
