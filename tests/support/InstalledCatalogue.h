#pragma once

#include <clocale>
#include <optional>
#include <string>

#include "core/foundation/Localization.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"

namespace quillbern {

// The catalogues of a folder installed for one test, in the language chosen or else the one
// the environment the test set up names; the messages locale and the localizer before put
// back afterwards.
class InstalledCatalogue {
public:
    explicit InstalledCatalogue(const std::string& folder, const std::optional<std::string>& chosen = std::nullopt)
        : messages_(std::setlocale(LC_MESSAGES, nullptr)),
          localizer_(folder, settleInterfaceLanguage(chosen, folder)),
          previous_(setLocalizer(&localizer_)) {}
    ~InstalledCatalogue() {
        setLocalizer(previous_);
        std::setlocale(LC_MESSAGES, messages_.c_str());
    }
    InstalledCatalogue(const InstalledCatalogue&) = delete;
    InstalledCatalogue& operator=(const InstalledCatalogue&) = delete;

    const GettextLocalizer& localizer() const { return localizer_; }

private:
    std::string messages_;
    GettextLocalizer localizer_;
    Localizer* previous_;
};

}  // namespace quillbern
