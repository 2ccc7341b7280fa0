#include "sim/SimEventMonitors.h"

#include <algorithm>
#include <memory>

namespace quillbern {

Subscription SimEventMonitors::onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(global_, "global", buttons, std::move(handler));
}

Subscription SimEventMonitors::onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(local_, "local", buttons, std::move(handler));
}

class SimEventMonitors::Tap final : public KeyTap {
public:
    Tap(SimEventMonitors& owner, std::function<void(const KeyTapEvent&)> handler)
        : owner_(owner), handler_(std::move(handler)) {
        owner_.taps_.push_back(this);
    }
    ~Tap() override { std::erase(owner_.taps_, this); }
    void setEnabled(bool enabled) override { enabled_ = enabled; }

    bool enabled() const { return enabled_; }
    void deliver(const KeyTapEvent& event) {
        if (!enabled_) return;
        if (event.kind != KeyTapEvent::Kind::keyDown) enabled_ = false;
        handler_(event);
    }

private:
    SimEventMonitors& owner_;
    std::function<void(const KeyTapEvent&)> handler_;
    bool enabled_ = true;
};

std::unique_ptr<KeyTap> SimEventMonitors::tapKeyDown(std::function<void(const KeyTapEvent&)> handler) {
    calls_.push_back("add tap");
    if (refuses_) return nullptr;
    return std::make_unique<Tap>(*this, std::move(handler));
}

void SimEventMonitors::injectKeyTap(const KeyTapEvent& event) {
    // A handler may end its own tap or start another.
    const std::vector<Tap*> taps = taps_;
    for (Tap* tap : taps) {
        if (std::find(taps_.begin(), taps_.end(), tap) != taps_.end()) tap->deliver(event);
    }
}

bool SimEventMonitors::tapEnabled() const {
    return !taps_.empty() && taps_.back()->enabled();
}

Subscription SimEventMonitors::add(Signal<const MouseDown&>& signal, const std::string& kind, MouseButtons buttons,
                                   std::function<void(const MouseDown&)> handler) {
    calls_.push_back("add " + kind);
    if (refuses_) return {};
    auto connection =
        std::make_shared<Subscription>(signal.connect([buttons, handler = std::move(handler)](const MouseDown& press) {
            if (press.button & buttons) handler(press);
        }));
    return Subscription([this, kind, connection] {
        calls_.push_back("remove " + kind);
        connection->reset();
    });
}

}  // namespace quillbern
