#pragma once

#include <optional>
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
    // The text's first character in upper case (Unicode's default mapping, the same in
    // every locale), as a key cap shows it; none when that character does not show on its
    // own (white space, a line break, a control character, a combining mark) and for empty
    // or malformed text.
    virtual std::optional<std::string> uppercasedFirstCharacter(std::string_view text) const = 0;
};

}  // namespace quillbern
