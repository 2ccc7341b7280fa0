#pragma once

#include <optional>
#include <string>

#include "core/foundation/Localization.h"

namespace quillbern {

// The program's texts from the gettext catalogue of the language settleInterfaceLanguage
// settled on, <folder>/<language>/LC_MESSAGES/quillbern.mo; English without a language, and
// for any text the catalogue lacks.
class GettextLocalizer final : public Localizer {
public:
    static constexpr const char* kDomain = "quillbern";

    // After Qt made its application, which sets the locale from the environment.
    GettextLocalizer(const std::string& catalogueFolder, std::optional<std::string> language);

    std::string translate(std::string_view english) const override;
    std::string translatePlural(std::string_view singular, std::string_view plural,
                                unsigned long long count) const override;
    std::string translateInContext(std::string_view context, std::string_view english) const override;

    // gettext's name of the language ("de", "zh_CN"); none while the texts are English.
    const std::optional<std::string>& language() const { return language_; }

private:
    std::optional<std::string> language_;
};

}  // namespace quillbern
