#include "sim/SimKeyboardGrabber.h"

namespace quillbern {

namespace {

class SimKeyboardGrab final : public KeyboardGrab {
public:
    explicit SimKeyboardGrab(std::weak_ptr<int> holds) : holds_(std::move(holds)) {
        if (const auto holds = holds_.lock()) ++*holds;
    }
    ~SimKeyboardGrab() override {
        if (const auto holds = holds_.lock()) --*holds;
    }

private:
    std::weak_ptr<int> holds_;
};

}  // namespace

std::unique_ptr<KeyboardGrab> SimKeyboardGrabber::grabKeyboard() {
    if (heldByAnother_) return nullptr;
    return std::make_unique<SimKeyboardGrab>(holds_);
}

}  // namespace quillbern
