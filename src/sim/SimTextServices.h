#pragma once

#include "core/platform/TextServices.h"

namespace quillbern {

// Text rules without a locale: case is ignored for ASCII letters only, other characters
// compare exactly; the horizontal spaces are Unicode's space separators and the tab.
class SimTextServices final : public TextServices {
public:
    bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
    std::string trimmingHorizontalSpace(std::string_view text) const override;
};

}  // namespace quillbern
