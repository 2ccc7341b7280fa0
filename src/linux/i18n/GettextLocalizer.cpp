#include "linux/i18n/GettextLocalizer.h"

#include <libintl.h>

namespace quillbern {

GettextLocalizer::GettextLocalizer(const std::string& catalogueFolder) {
    bindtextdomain(kDomain, catalogueFolder.c_str());
    // Qt and our texts are UTF-8 whatever the locale's character set.
    bind_textdomain_codeset(kDomain, "UTF-8");
}

std::string GettextLocalizer::translate(std::string_view english) const {
    // The empty key is the catalogue's header.
    if (english.empty()) return {};
    return dgettext(kDomain, std::string(english).c_str());
}

std::string GettextLocalizer::translatePlural(std::string_view singular, std::string_view plural,
                                              unsigned long long count) const {
    return dngettext(kDomain, std::string(singular).c_str(), std::string(plural).c_str(),
                     static_cast<unsigned long>(count));
}

std::string GettextLocalizer::translateInContext(std::string_view context, std::string_view english) const {
    // A catalogue keys a text with a context as the context, EOT, then the text.
    const std::string key = std::string(context) + '\004' + std::string(english);
    const char* translated = dgettext(kDomain, key.c_str());
    return translated == key.c_str() ? std::string(english) : std::string(translated);
}

std::optional<std::string> GettextLocalizer::language() const {
    const std::string header = "\n" + std::string(dgettext(kDomain, ""));
    constexpr std::string_view kField = "\nLanguage: ";
    const std::size_t found = header.find(kField);
    if (found == std::string::npos) return std::nullopt;
    const std::size_t start = found + kField.size();
    std::string value = header.substr(start, header.find('\n', start) - start);
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace quillbern
