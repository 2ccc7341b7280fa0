#pragma once

#include <optional>
#include <string>

#include "core/platform/TextServices.h"

struct UCollator;
struct UNumberFormatter;
struct URelativeDateTimeFormatter;

namespace quillbern {

// Unicode rules from ICU: full case folding, the blank characters (tab and every space
// separator) as horizontal space, canonical decomposition to set diacritics apart, and
// the default locale's collation at secondary strength (accents count, case does not),
// and the default locale's relative dates, durations and dates. An interface language
// other than the locale's ("de", "zh_CN") takes the locale's place, so its words never
// stand among those of another language.
class IcuTextServices final : public TextServices {
public:
    explicit IcuTextServices(const std::optional<std::string>& interfaceLanguage = std::nullopt);
    ~IcuTextServices() override;
    IcuTextServices(const IcuTextServices&) = delete;
    IcuTextServices& operator=(const IcuTextServices&) = delete;

    bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
    std::string trimmingHorizontalSpace(std::string_view text) const override;
    std::optional<std::string> uppercasedFirstCharacter(std::string_view text) const override;
    int compare(std::string_view a, std::string_view b) const override;
    void fold(std::string_view text, FoldedText& into) const override;
    bool isLetterOrNumberBefore(std::string_view text, std::size_t offset) const override;
    std::string lowercased(std::string_view text) const override;
    std::string formatRelative(WallTime when, WallTime now) const override;
    std::string formatSeconds(double seconds) const override;
    std::string formatDateAndTime(WallTime when) const override;

private:
    // Used concurrently only through ICU's const operations, which allow it.
    UCollator* collator_ = nullptr;
    // Immutable once opened, so any thread may format with it.
    URelativeDateTimeFormatter* relative_ = nullptr;
    // Immutable once opened, so any thread may format with it.
    UNumberFormatter* seconds_ = nullptr;
    // The locale the formatters speak.
    std::string locale_;
};

}  // namespace quillbern
