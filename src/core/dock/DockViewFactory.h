#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Color.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Types.h"
#include "core/tiles/DockContent.h"
#include "core/windows/PreviewContent.h"

namespace quillbern {

// One application of the launch beacon.
struct BeaconTileContent {
    std::string appId;
    std::string name;
    ImageHandle icon;
    bool isLaunching = false;
    bool operator==(const BeaconTileContent&) const = default;
};

// The launch beacon: a row of ringed tiles on a slab.
struct BeaconContent {
    std::vector<BeaconTileContent> tiles;
    double tileSize = 0;
    double cornerRadius = 0;
    Color accent;
    bool reduceMotion = false;
    bool reduceTransparency = false;
    bool canBlend = true;
    bool operator==(const BeaconContent&) const = default;
};

// The glint of an armed knock: a thin line glowing in the accent colour along its edge.
struct GlintContent {
    // Along a left or right edge.
    bool vertical = false;
    Color accent;
    bool operator==(const GlintContent&) const = default;
};

// Builds the views of the docks' panels, which a panel takes over. Main thread.
class DockViewFactory {
public:
    virtual ~DockViewFactory() = default;

    virtual std::shared_ptr<PanelView> dockBar(DockContent content) = 0;
    virtual std::shared_ptr<PanelView> launchBeacon(BeaconContent content) = 0;
    virtual std::shared_ptr<PanelView> knockGlint(GlintContent content) = 0;
    virtual std::shared_ptr<PanelView> previewCard(PreviewContent content) = 0;
};

}  // namespace quillbern
