#pragma once

#include <optional>

#include "core/foundation/Geometry.h"

namespace quillbern {

// A panel's content view that draws a veil: the panel hands it what Panel::setVeil gives,
// and has it drop its effects before the panel closes.
class VeilView {
public:
    virtual ~VeilView() = default;

    // The hole in screen space, or none; the dimming's opacity.
    virtual void setVeil(const std::optional<RectBL>& hole, double intensity) = 0;
    // The blur behind the panel ends.
    virtual void clearEffects() = 0;
};

}  // namespace quillbern
