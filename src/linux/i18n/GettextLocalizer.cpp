#include "linux/i18n/GettextLocalizer.h"

#include <libintl.h>

#include <clocale>
#include <string_view>

namespace quillbern {

GettextLocalizer::GettextLocalizer(const std::string& catalogueFolder, std::optional<std::string> language)
    : language_(std::move(language)) {
    if (!language_) return;
    // gettext ignores LANGUAGE while messages are in the C locale, which a bare session has,
    // and one whose locale is not installed; C.UTF-8 speaks English just the same and lets
    // LANGUAGE count. Unlike the environment, the locale is read under glibc's lock, so it
    // may change while Qt's threads run.
    const std::string_view messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages == "C" || messages == "POSIX") std::setlocale(LC_MESSAGES, "C.UTF-8");
    bindtextdomain(kDomain, catalogueFolder.c_str());
    // Qt and our texts are UTF-8 whatever the locale's character set.
    bind_textdomain_codeset(kDomain, "UTF-8");
}

std::string GettextLocalizer::translate(std::string_view english) const {
    // The empty key is the catalogue's header.
    if (!language_ || english.empty()) return std::string(english);
    return dgettext(kDomain, std::string(english).c_str());
}

std::string GettextLocalizer::translatePlural(std::string_view singular, std::string_view plural,
                                              unsigned long long count) const {
    if (!language_) return std::string(count == 1 ? singular : plural);
    return dngettext(kDomain, std::string(singular).c_str(), std::string(plural).c_str(),
                     static_cast<unsigned long>(count));
}

std::string GettextLocalizer::translateInContext(std::string_view context, std::string_view english) const {
    if (!language_) return std::string(english);
    // A catalogue keys a text with a context as the context, EOT, then the text.
    const std::string key = std::string(context) + '\004' + std::string(english);
    const char* translated = dgettext(kDomain, key.c_str());
    return translated == key.c_str() ? std::string(english) : std::string(translated);
}

}  // namespace quillbern
