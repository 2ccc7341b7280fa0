#pragma once

#include <string>
#include <string_view>

namespace quillbern {

// Unicode and locale rules the core cannot answer with byte comparisons. Any thread.
class TextServices {
public:
    virtual ~TextServices() = default;

    // Equal under the locale's case-insensitive comparison.
    virtual bool equalsIgnoringCase(std::string_view a, std::string_view b) const = 0;
    // Without horizontal white space (spaces of every width, tabs) at either end;
    // line breaks stay.
    virtual std::string trimmingHorizontalSpace(std::string_view text) const = 0;
};

}  // namespace quillbern
