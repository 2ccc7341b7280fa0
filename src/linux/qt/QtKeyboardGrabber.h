#pragma once

#include "core/platform/KeyboardGrabber.h"

namespace quillbern {

// The keyboard held through Qt for its focused window: on X11 an active grab of the whole
// keyboard on Qt's own connection, so the keys still reach Qt's windows as they always do.
class QtKeyboardGrabber final : public KeyboardGrabber {
public:
    std::unique_ptr<KeyboardGrab> grabKeyboard() override;
};

}  // namespace quillbern
