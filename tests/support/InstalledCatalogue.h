#pragma once

#include <clocale>
#include <string>

#include "core/foundation/Localization.h"
#include "linux/i18n/GettextLocalizer.h"

namespace quillbern {

// The catalogues of a folder installed for one test, in the language the environment the
// test set up names; the messages locale and the localizer before put back afterwards.
class InstalledCatalogue {
public:
    explicit InstalledCatalogue(const std::string& folder)
        : messages_(std::setlocale(LC_MESSAGES, nullptr)), localizer_(folder), previous_(setLocalizer(&localizer_)) {}
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
