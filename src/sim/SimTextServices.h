#pragma once

#include "core/platform/TextServices.h"

namespace quillbern {

// Text rules without a locale: case is ignored for ASCII letters only, other characters
// compare exactly; the horizontal spaces are Unicode's space separators and the tab.
// Upper case is known for ASCII and Latin-1 letters; the combining marks are those of
// U+0300 to U+036F.
class SimTextServices final : public TextServices {
public:
    bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
    std::string trimmingHorizontalSpace(std::string_view text) const override;
    std::optional<std::string> uppercasedFirstCharacter(std::string_view text) const override;
};

}  // namespace quillbern
