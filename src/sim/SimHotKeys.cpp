#include "sim/SimHotKeys.h"

namespace quillbern {

namespace {

class SimGrab final : public HotKeyGrab {
public:
    SimGrab(std::weak_ptr<std::map<std::uint64_t, SimHotKeys::Live>> live, std::weak_ptr<int> released,
            std::uint64_t serial)
        : live_(std::move(live)), released_(std::move(released)), serial_(serial) {}
    ~SimGrab() override {
        const auto live = live_.lock();
        const auto released = released_.lock();
        if (!live || !released) return;
        live->erase(serial_);
        ++*released;
    }

private:
    std::weak_ptr<std::map<std::uint64_t, SimHotKeys::Live>> live_;
    std::weak_ptr<int> released_;
    std::uint64_t serial_;
};

}  // namespace

SimHotKeys::SimHotKeys()
    : live_(std::make_shared<std::map<std::uint64_t, Live>>()), released_(std::make_shared<int>(0)) {}

SimHotKeys::~SimHotKeys() = default;

int SimHotKeys::setHandler(std::function<void(const HotKeyEvent&)> handler) {
    if (handlerFailure_ != 0) return handlerFailure_;
    handler_ = std::move(handler);
    return 0;
}

void SimHotKeys::clearHandler() {
    handler_ = nullptr;
}

HotKeyRegistration SimHotKeys::grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) {
    ++grabRequests_;
    if (takenByOthers_.contains({keyCode, modifiers})) return {HotKeyRegistration::Status::taken, nullptr};
    const std::uint64_t serial = nextSerial_++;
    live_->emplace(serial, Live{{keyCode, modifiers, id}});
    return {HotKeyRegistration::Status::grabbed, std::make_unique<SimGrab>(live_, released_, serial)};
}

void SimHotKeys::takeByOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers) {
    takenByOthers_.insert({keyCode, modifiers});
}

bool SimHotKeys::press(std::uint32_t keyCode, std::uint32_t modifiers) {
    return send(keyCode, modifiers, true);
}

bool SimHotKeys::release(std::uint32_t keyCode, std::uint32_t modifiers) {
    return send(keyCode, modifiers, false);
}

bool SimHotKeys::send(std::uint32_t keyCode, std::uint32_t modifiers, bool pressed) {
    if (suspended_) return false;
    for (auto& [serial, live] : *live_) {
        if (live.grabbed.keyCode != keyCode || live.grabbed.modifiers != modifiers) continue;
        if (!handler_ || live.down == pressed) return false;
        live.down = pressed;
        deliver({pressed, live.grabbed.id});
        return true;
    }
    return false;
}

void SimHotKeys::deliver(const HotKeyEvent& event) {
    // A copy: the handler may replace itself.
    if (const auto handler = handler_) handler(event);
}

std::vector<SimHotKeys::Grabbed> SimHotKeys::grabs() const {
    std::vector<Grabbed> out;
    for (const auto& entry : *live_)
        out.push_back(entry.second.grabbed);
    return out;
}

}  // namespace quillbern
