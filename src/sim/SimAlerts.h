#pragma once

#include <vector>

#include "core/platform/Alerts.h"

namespace quillbern {

// Counts the beeps a test caused, and answers alerts with the button the test chose.
class SimAlerts final : public Alerts {
public:
    void beep() override {
        ++beeps_;
        order_.push_back("beep");
    }
    std::size_t runModal(const AlertSpec& alert) override {
        shown_.push_back(alert);
        order_.push_back("alert");
        return answer_;
    }
    int beepCount() const { return beeps_; }
    const std::vector<AlertSpec>& shown() const { return shown_; }
    // Beeps and alerts as they came.
    const std::vector<const char*>& order() const { return order_; }
    void answerWith(std::size_t button) { answer_ = button; }

private:
    int beeps_ = 0;
    std::vector<AlertSpec> shown_;
    std::vector<const char*> order_;
    std::size_t answer_ = 0;
};

}  // namespace quillbern
