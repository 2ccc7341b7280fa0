#pragma once

#include "core/platform/Alerts.h"

namespace quillbern {

// Counts the beeps a test caused.
class SimAlerts final : public Alerts {
public:
    void beep() override { ++beeps_; }
    int beepCount() const { return beeps_; }

private:
    int beeps_ = 0;
};

}  // namespace quillbern
