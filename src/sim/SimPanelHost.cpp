#include "sim/SimPanelHost.h"

#include <algorithm>

#include "core/platform/PanelAnimator.h"
#include "core/workspace/VeilModel.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

namespace {

class SimPanel final : public Panel {
public:
    SimPanel(std::shared_ptr<SimPanelHost::Shared> shared, std::shared_ptr<SimPanelState> state, FrameClock& frames)
        : shared_(std::move(shared)),
          state_(std::move(state)),
          animator_(frames, [this](std::optional<double> alpha, std::optional<RectBL> frame) {
              if (alpha) state_->alpha = *alpha;
              if (frame) state_->frame = *frame;
          }) {
        takeVeil();
    }

    ~SimPanel() override {
        state_->closed = true;
        resignKey();
        shared_->stack.remove(state_->serial);
    }

    std::uint64_t serial() const override { return state_->serial; }
    RectBL frame() const override { return state_->frame; }
    void setFrame(RectBL frame) override {
        animator_.releaseFrame();
        state_->frame = frame;
    }
    double alpha() const override { return state_->alpha; }
    void setAlpha(double alpha) override {
        animator_.releaseAlpha();
        state_->alpha = alpha;
    }
    void animate(Animation animation, std::optional<double> alpha, std::optional<RectBL> frame, Task onDone) override {
        animator_.start(animation, state_->alpha, state_->frame, alpha, frame, std::move(onDone));
    }
    void orderFront() override {
        state_->visible = true;
        shared_->stack.orderFront(state_->serial, state_->style.level);
    }
    void orderOut() override {
        resignKey();
        shared_->stack.remove(state_->serial);
    }
    bool isVisible() const override { return state_->visible; }
    void setContent(PanelContent content) override {
        state_->content = std::move(content);
        takeVeil();
    }
    void setCommandClickHandler(Task handler) override { state_->commandClick = std::move(handler); }
    void makeKeyAndOrderFront() override {
        orderFront();
        if (!state_->style.takesKeyFocus) return;
        shared_->key = state_->serial;
        ++state_->madeKey;
    }
    bool isKey() const override { return shared_->key == state_->serial; }
    void setKeyHandlers(PanelKeyHandlers handlers) override { state_->keys = std::move(handlers); }

    void setVeil(std::optional<RectBL> hole, double intensity) override {
        if (!veil_ || !veil_->update(hole, intensity).any()) return;
        state_->veilHole = veil_->hole();
        state_->veilIntensity = veil_->intensity();
        ++state_->veilRedraws;
    }
    void clearVeilEffects() override {
        if (veil_) state_->veilEffectsCleared = true;
    }

private:
    void takeVeil() {
        const auto* veil = state_->shown<VeilContent>();
        veil_ = veil ? std::optional<VeilModel>(VeilModel(veil->coveredFrame)) : std::nullopt;
    }

    // Hidden or closed, it has the keyboard no more; nobody is told, as when it goes of
    // its own accord.
    void resignKey() {
        state_->visible = false;
        if (shared_->key == state_->serial) shared_->key.reset();
    }

    std::shared_ptr<SimPanelHost::Shared> shared_;
    std::shared_ptr<SimPanelState> state_;
    PanelAnimator animator_;
    std::optional<VeilModel> veil_;
};

}  // namespace

SimPanelHost::SimPanelHost(FrameClock& frames) : frames_(frames) {}

std::unique_ptr<Panel> SimPanelHost::createPanel(const PanelStyle& style, RectBL frame, PanelContent content) {
    auto state = std::make_shared<SimPanelState>();
    state->serial = ++lastSerial_;
    state->style = style;
    state->frame = frame;
    state->content = std::move(content);
    shared_->panels[state->serial] = state;
    return std::make_unique<SimPanel>(shared_, std::move(state), frames_);
}

std::vector<OwnWindow> SimPanelHost::ownWindows() const {
    std::vector<OwnWindow> windows;
    const auto add = [&](std::uint64_t serial, const SimPanelState& state) {
        windows.push_back({.serial = serial,
                           .isVisible = state.visible,
                           .frame = state.frame,
                           .isDockPanel = state.style.isDockPanel,
                           .level = state.style.level,
                           .hasFocus = shared_->key == serial});
    };
    // Shown panels front to back, then the hidden ones.
    for (std::uint64_t serial : frontToBack()) {
        const auto it = shared_->panels.find(serial);
        if (it != shared_->panels.end() && !it->second->closed) add(serial, *it->second);
    }
    for (const auto& [serial, state] : shared_->panels) {
        if (!state->closed && !state->visible) add(serial, *state);
    }
    windows.insert(windows.end(), otherWindows_.begin(), otherWindows_.end());
    return windows;
}

const SimPanelState* SimPanelHost::panel(std::uint64_t serial) const {
    const auto it = shared_->panels.find(serial);
    return it == shared_->panels.end() ? nullptr : it->second.get();
}

std::vector<std::uint64_t> SimPanelHost::frontToBack() const {
    std::vector<std::uint64_t> order = shared_->stack.bottomToTop();
    std::reverse(order.begin(), order.end());
    return order;
}

std::size_t SimPanelHost::openCount() const {
    return static_cast<std::size_t>(std::count_if(shared_->panels.begin(), shared_->panels.end(),
                                                  [](const auto& entry) { return !entry.second->closed; }));
}

std::shared_ptr<SimPanelState> SimPanelHost::open(std::uint64_t serial) const {
    const auto it = shared_->panels.find(serial);
    if (it == shared_->panels.end() || it->second->closed) return nullptr;
    return it->second;
}

bool SimPanelHost::commandClick(std::uint64_t serial) {
    const std::shared_ptr<SimPanelState> state = open(serial);
    if (!state || !state->commandClick) return false;
    // A copy, so the handler may close the panel and replace its own handler.
    const Task handler = state->commandClick;
    handler();
    return true;
}

std::optional<std::uint64_t> SimPanelHost::keyPanel() const {
    return shared_->key;
}

bool SimPanelHost::pressEscape(std::uint64_t serial) {
    const std::shared_ptr<SimPanelState> state = open(serial);
    if (!state) return false;
    if (const Task handler = state->keys.onCancel) handler();
    return true;
}

bool SimPanelHost::pressKey(std::uint64_t serial, const KeyEvent& key) {
    const std::shared_ptr<SimPanelState> state = open(serial);
    if (!state || !state->keys.onKey) return false;
    const auto handler = state->keys.onKey;
    return handler(key);
}

bool SimPanelHost::pressKeyEquivalent(std::uint64_t serial, const KeyEvent& key) {
    const std::shared_ptr<SimPanelState> state = open(serial);
    if (!state || !state->keys.onKeyEquivalent) return false;
    const auto handler = state->keys.onKeyEquivalent;
    return handler(key);
}

bool SimPanelHost::takeKeyAway(std::uint64_t serial) {
    const std::shared_ptr<SimPanelState> state = open(serial);
    if (!state || shared_->key != serial) return false;
    shared_->key.reset();
    if (const Task handler = state->keys.onResignKey) handler();
    return true;
}

}  // namespace quillbern
