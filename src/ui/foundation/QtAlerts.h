#pragma once

#include "core/platform/Alerts.h"

namespace quillbern {

class QtAlerts final : public Alerts {
public:
    void beep() override;
    // A message box of its own window, taking the keyboard; a floating one stays above
    // other windows.
    std::size_t runModal(const AlertSpec& alert) override;
};

}  // namespace quillbern
