#pragma once

#include "core/foundation/Signal.h"
#include "core/platform/EventMonitors.h"

namespace quillbern {

// Monitors fed by presses a test injects; the test may make the system refuse them.
class SimEventMonitors final : public EventMonitors {
public:
    Subscription onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    Subscription onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;

    void injectGlobalMouseDown(const MouseDown& press) { global_.emit(press); }
    void injectLocalMouseDown(const MouseDown& press) { local_.emit(press); }
    void setRefusesMonitors(bool refuses) { refuses_ = refuses; }
    std::size_t globalMonitorCount() const { return global_.connectionCount(); }

private:
    Subscription add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                     std::function<void(const MouseDown&)> handler);

    Signal<const MouseDown&> global_;
    Signal<const MouseDown&> local_;
    bool refuses_ = false;
};

}  // namespace quillbern
