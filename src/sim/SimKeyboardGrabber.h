#pragma once

#include <memory>

#include "core/platform/KeyboardGrabber.h"

namespace quillbern {

// The keyboard held in memory: a test reads whether it is held, and may have another
// application hold it so grabs are refused.
class SimKeyboardGrabber final : public KeyboardGrabber {
public:
    std::unique_ptr<KeyboardGrab> grabKeyboard() override;

    bool isHeld() const { return *holds_ > 0; }
    void setHeldByAnotherApplication(bool held) { heldByAnother_ = held; }

private:
    // Shared with the grabs, which may outlive the backend.
    std::shared_ptr<int> holds_ = std::make_shared<int>(0);
    bool heldByAnother_ = false;
};

}  // namespace quillbern
