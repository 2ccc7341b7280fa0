#include "core/foundation/Localization.h"

#include <algorithm>
#include <atomic>
#include <cctype>

namespace quillbern {

namespace {
std::atomic<Localizer*> currentLocalizer{nullptr};

// Length of a conversion's length and type letters after '%' (and after "N$"): "@", "d",
// "ld", "lld"; 0 when the text there is not one we fill.
std::size_t conversionLength(std::string_view rest) {
    for (std::string_view conversion : {"@", "lld", "ld", "d"}) {
        if (rest.starts_with(conversion)) return conversion.size();
    }
    return 0;
}
}  // namespace

Localizer* setLocalizer(Localizer* localizer) {
    return currentLocalizer.exchange(localizer);
}

std::string tr(std::string_view english) {
    if (const Localizer* localizer = currentLocalizer.load()) return localizer->translate(english);
    return std::string(english);
}

std::string trc(std::string_view context, std::string_view english) {
    if (const Localizer* localizer = currentLocalizer.load()) return localizer->translateInContext(context, english);
    return std::string(english);
}

std::string tr(const TextInContext& text) {
    return trc(text.context, text.english);
}

namespace detail {
std::string translatedPlural(std::string_view singular, std::string_view plural, long long count) {
    // A negative count has no form of its own: it reads as many.
    const unsigned long long forCount = count < 0 ? 2 : static_cast<unsigned long long>(count);
    if (const Localizer* localizer = currentLocalizer.load())
        return localizer->translatePlural(singular, plural, forCount);
    return std::string(forCount == 1 ? singular : plural);
}
}  // namespace detail

std::string formatLocalized(std::string_view format, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(format.size());
    std::size_t nextArg = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        std::size_t index = nextArg;
        bool positional = false;
        std::size_t position = 0;
        while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) {
            // Saturates: an absurd position from a broken catalogue names no argument.
            position = std::min<std::size_t>(position * 10 + static_cast<std::size_t>(format[j] - '0'), 1000);
            ++j;
        }
        if (j > i + 1 && j < format.size() && format[j] == '$') {
            index = position - 1;
            positional = true;
            ++j;
        } else {
            j = i + 1;
        }
        const std::size_t length = conversionLength(format.substr(j));
        if (length == 0) {
            out += format[i];
            continue;
        }
        if (index < args.size()) out += args[index];
        if (!positional) ++nextArg;
        i = j + length - 1;
    }
    return out;
}

}  // namespace quillbern
