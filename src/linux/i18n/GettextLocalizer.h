#pragma once

#include <optional>
#include <string>

#include "core/foundation/Localization.h"

namespace quillbern {

// The program's texts from its gettext catalogues, <folder>/<language>/LC_MESSAGES/quillbern.mo,
// in the first language of `LANGUAGE` (or else of the messages locale) that has one; English
// where none has, and for any text a catalogue lacks.
class GettextLocalizer final : public Localizer {
public:
    static constexpr const char* kDomain = "quillbern";

    explicit GettextLocalizer(const std::string& catalogueFolder);

    std::string translate(std::string_view english) const override;
    std::string translatePlural(std::string_view singular, std::string_view plural,
                                unsigned long long count) const override;
    std::string translateInContext(std::string_view context, std::string_view english) const override;

    // The language of the catalogue in use, as its header names it ("de", "zh_CN"); none
    // while the texts are English.
    std::optional<std::string> language() const;
};

}  // namespace quillbern
