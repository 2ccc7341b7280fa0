#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Time.h"

namespace quillbern {

// Text without case and diacritics, with the place in the original text that each of its
// bytes came from.
struct FoldedText {
    std::string folded;
    // For each byte of `folded`, the offset of the original character it came from.
    std::vector<std::uint32_t> originalOffsets;
};

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
    // The locale's order for names shown to the user, case ignored, accents counted:
    // negative when a comes first, zero when they rank alike, positive otherwise.
    virtual int compare(std::string_view a, std::string_view b) const = 0;
    // The text without case (full case folding) and without diacritics, the same in every
    // locale, so a search finds "Café" by "cafe". `into` is overwritten; its buffers are
    // reused, so a loop over many names allocates little.
    virtual void fold(std::string_view text, FoldedText& into) const = 0;
    // Whether the character that ends before `offset` is a letter or a number (judged by
    // the base of a character made of several, a lone combining mark counting as part of
    // a word); false at the start of the text.
    virtual bool isLetterOrNumberBefore(std::string_view text, std::size_t offset) const = 0;
    // The whole text in lower case, by Unicode's default mapping (the same in every locale).
    virtual std::string lowercased(std::string_view text) const = 0;
    // How long ago or ahead `when` lies, in words and in the largest unit that counts it
    // whole (`relativeOffset`), named where the language has a name: "yesterday",
    // "3 hours ago", "now".
    virtual std::string formatRelative(WallTime when, WallTime now) const = 0;
    // A duration in seconds with exactly two decimals and the locale's short unit word,
    // never converted to another unit: "0.36 sec" in English.
    virtual std::string formatSeconds(double seconds) const = 0;
    // A moment in local time, its date abbreviated and its time short: "Jan 15, 2027, 8:00 AM".
    virtual std::string formatDateAndTime(WallTime when) const = 0;
};

}  // namespace quillbern
