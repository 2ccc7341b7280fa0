#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

// The desktop's display preferences and what it can draw.
class SystemAppearance {
public:
    virtual ~SystemAppearance() = default;

    virtual bool reduceMotion() const = 0;
    virtual bool reduceTransparency() const = 0;
    virtual Color accentColor() const = 0;
    // Whether the glass dock materials can be drawn at all.
    virtual bool supportsGlass() const = 0;
    // Whether translucent windows are blended (a compositing manager runs).
    virtual bool hasCompositor() const = 0;

    // Called on the main thread after every notice of a display-option change, whether or
    // not a value this port reports has changed.
    [[nodiscard]] virtual Subscription onChanged(Task onChange) = 0;
};

}  // namespace quillbern
