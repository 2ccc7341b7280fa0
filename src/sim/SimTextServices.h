#pragma once

#include "core/platform/TextServices.h"

namespace quillbern {

// Text rules without a locale: case is ignored for ASCII letters only, other characters
// compare exactly; the horizontal spaces are Unicode's space separators and the tab.
// Upper and lower case are known for ASCII and Latin-1 letters; the combining marks are those of
// U+0300 to U+036F. Collation compares bytes with ASCII case ignored. Folding knows the
// ASCII and Latin-1 letters and drops the combining marks. Letters and numbers are the
// ASCII ones, the Latin-1 letters and every later character but general punctuation and
// the space separators.
class SimTextServices final : public TextServices {
public:
    bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
    std::string trimmingHorizontalSpace(std::string_view text) const override;
    std::optional<std::string> uppercasedFirstCharacter(std::string_view text) const override;
    int compare(std::string_view a, std::string_view b) const override;
    void fold(std::string_view text, FoldedText& into) const override;
    bool isLetterOrNumberBefore(std::string_view text, std::size_t offset) const override;
    std::string lowercased(std::string_view text) const override;
    // English: "now", "yesterday", "tomorrow", "last week", "next month", else "3 hours ago"
    // or "in 2 days".
    std::string formatRelative(WallTime when, WallTime now) const override;
    // "0.36 sec", as ICU writes it in English.
    std::string formatSeconds(double seconds) const override;
    // In UTC, the same on every machine: "2027-01-15 08:00".
    std::string formatDateAndTime(WallTime when) const override;
};

}  // namespace quillbern
