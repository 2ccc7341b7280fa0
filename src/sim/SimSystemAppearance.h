#pragma once

#include "core/foundation/Signal.h"
#include "core/platform/SystemAppearance.h"

namespace quillbern {

// Display options that tests set; notify() delivers a change notice like the desktop's.
class SimSystemAppearance final : public SystemAppearance {
public:
    bool reduceMotion() const override { return reduceMotion_; }
    bool reduceTransparency() const override { return reduceTransparency_; }
    Color accentColor() const override { return accentColor_; }
    bool supportsGlass() const override { return supportsGlass_; }
    bool hasCompositor() const override { return hasCompositor_; }
    Subscription onChanged(Task onChange) override { return changed_.connect(std::move(onChange)); }

    void setReduceMotion(bool on) { reduceMotion_ = on; }
    void setReduceTransparency(bool on) { reduceTransparency_ = on; }
    void setAccentColor(Color color) { accentColor_ = color; }
    void setSupportsGlass(bool on) { supportsGlass_ = on; }
    void setHasCompositor(bool on) { hasCompositor_ = on; }
    void notify() { changed_.emit(); }

private:
    bool reduceMotion_ = false;
    bool reduceTransparency_ = false;
    Color accentColor_{0.0, 0.48, 1.0, 1.0};
    bool supportsGlass_ = false;
    bool hasCompositor_ = true;
    Signal<> changed_;
};

}  // namespace quillbern
