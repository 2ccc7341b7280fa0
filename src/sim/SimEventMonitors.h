#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/EventMonitors.h"

namespace quillbern {

// Monitors fed by presses a test injects; the test may make the system refuse them. Keeps
// the order in which monitors were added and removed.
class SimEventMonitors final : public EventMonitors {
public:
    Subscription onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    Subscription onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    std::unique_ptr<KeyTap> tapKeyDown(std::function<void(const KeyTapEvent&)> handler) override;

    void injectGlobalMouseDown(const MouseDown& press) { global_.emit(press); }
    void injectLocalMouseDown(const MouseDown& press) { local_.emit(press); }
    // Reaches every live tap that is enabled, as the system would deliver it; a disabling
    // event also stops the tap, as the system does.
    void injectKeyTap(const KeyTapEvent& event);
    // Refuses monitors and taps alike.
    void setRefusesMonitors(bool refuses) { refuses_ = refuses; }
    std::size_t liveTapCount() const { return taps_.size(); }
    // Whether the newest live tap is enabled; false when there is none.
    bool tapEnabled() const;
    std::size_t globalMonitorCount() const { return global_.connectionCount(); }
    std::size_t localMonitorCount() const { return local_.connectionCount(); }
    // "add global", "add local", "remove global", "remove local", in the order they came.
    const std::vector<std::string>& calls() const { return calls_; }

private:
    Subscription add(Signal<const MouseDown&>& signal, const std::string& kind, MouseButtons buttons,
                     std::function<void(const MouseDown&)> handler);

    class Tap;

    Signal<const MouseDown&> global_;
    Signal<const MouseDown&> local_;
    bool refuses_ = false;
    std::vector<std::string> calls_;
    std::vector<Tap*> taps_;
};

}  // namespace quillbern
