#pragma once

#include <map>
#include <memory>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/platform/PanelHost.h"
#include "core/platform/PanelStack.h"

namespace quillbern {

// What a simulated panel shows; kept after the panel closes.
struct SimPanelState {
    std::uint64_t serial = 0;
    PanelStyle style;
    RectBL frame;
    double alpha = 1;
    bool visible = false;
    bool closed = false;
    PanelContent content;
    Task commandClick;
};

// Records every panel's state; animations run on the simulation's virtual time.
class SimPanelHost final : public PanelHost {
public:
    SimPanelHost(RunLoop& mainLoop, const Clock& clock);

    std::unique_ptr<Panel> createPanel(const PanelStyle& style, RectBL frame, PanelContent content) override;

    // Null for a serial never handed out.
    const SimPanelState* panel(std::uint64_t serial) const;
    // The shown panels, top first.
    std::vector<std::uint64_t> frontToBack() const;
    std::size_t openCount() const;
    // A Command-click on the panel, as the user makes it; false when it has no handler
    // or is closed.
    bool commandClick(std::uint64_t serial);

    struct Shared {
        std::map<std::uint64_t, std::shared_ptr<SimPanelState>> panels;
        PanelStack stack;
    };

private:
    RunLoop& loop_;
    const Clock& clock_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::uint64_t lastSerial_ = 0;
};

}  // namespace quillbern
