#pragma once

#include "core/platform/TextServices.h"

namespace quillbern {

// Unicode rules from ICU: full case folding, and the blank characters (tab and every
// space separator) as horizontal space.
class IcuTextServices final : public TextServices {
public:
    bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
    std::string trimmingHorizontalSpace(std::string_view text) const override;
    std::optional<std::string> uppercasedFirstCharacter(std::string_view text) const override;
};

}  // namespace quillbern
