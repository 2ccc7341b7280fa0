#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/FrameClock.h"
#include "core/platform/PanelHost.h"
#include "core/platform/PanelStack.h"
#include "sim/SimContentView.h"

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
    PanelKeyHandlers keys;
    // How often it was made key.
    int madeKey = 0;

    // What the panel shows, when it is a view built from a `Content` (DockContent,
    // VeilContent, ...) by a simulated view factory; else null.
    template <class Content>
    const Content* shown() const {
        const auto* view = std::get_if<std::shared_ptr<PanelView>>(&content);
        const auto* built = view ? dynamic_cast<const SimContentView<Content>*>(view->get()) : nullptr;
        return built ? &built->content : nullptr;
    }
    // Veil panels: the hole as drawn (in the panel's view coordinates), the dimming's
    // opacity, how many updates drew anything, and whether the veil's effects were dropped.
    std::optional<Rect> veilHole;
    double veilIntensity = -1;
    int veilRedraws = 0;
    bool veilEffectsCleared = false;
};

// Records every panel's state; animations run on the simulation's virtual time. One
// key-taking panel at a time has the keyboard; tests press keys on it and take the
// keyboard away, as the user does.
class SimPanelHost final : public PanelHost {
public:
    explicit SimPanelHost(FrameClock& frames);

    std::unique_ptr<Panel> createPanel(const PanelStyle& style, RectBL frame, PanelContent content) override;
    // The open panels, then the windows a test added.
    std::vector<OwnWindow> ownWindows() const override;
    // Our windows beside the panels, as the Settings window is.
    void setOtherOwnWindows(std::vector<OwnWindow> windows) { otherWindows_ = std::move(windows); }

    // Null for a serial never handed out.
    const SimPanelState* panel(std::uint64_t serial) const;
    // The shown panels, top first.
    std::vector<std::uint64_t> frontToBack() const;
    std::size_t openCount() const;
    // A Command-click on the panel, as the user makes it; false when it has no handler
    // or is closed.
    bool commandClick(std::uint64_t serial);

    // The open panel that has the keyboard.
    std::optional<std::uint64_t> keyPanel() const;
    // Keys reaching the panel's handlers, as they would from the keyboard; each returns
    // false when the panel is closed or has no such handler, else what the handler
    // answered (Escape always counts as taken).
    bool pressEscape(std::uint64_t serial);
    bool pressKey(std::uint64_t serial, const KeyEvent& key);
    bool pressKeyEquivalent(std::uint64_t serial, const KeyEvent& key);
    // Another window takes the keyboard; false when the panel did not have it.
    bool takeKeyAway(std::uint64_t serial);

    struct Shared {
        std::map<std::uint64_t, std::shared_ptr<SimPanelState>> panels;
        PanelStack stack;
        std::optional<std::uint64_t> key;
    };

private:
    // A copy of the panel's state, so a handler may close the panel; null when closed.
    std::shared_ptr<SimPanelState> open(std::uint64_t serial) const;

    FrameClock& frames_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::uint64_t lastSerial_ = 0;
    std::vector<OwnWindow> otherWindows_;
};

}  // namespace quillbern
