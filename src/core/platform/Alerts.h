#pragma once

namespace quillbern {

// Sounds and alerts shown to the user.
class Alerts {
public:
    virtual ~Alerts() = default;

    // The system's alert sound, for a request that cannot be carried out.
    virtual void beep() = 0;
};

}  // namespace quillbern
