#pragma once

#include "core/platform/Alerts.h"

namespace quillbern {

class QtAlerts final : public Alerts {
public:
    void beep() override;
};

}  // namespace quillbern
