#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quillbern {

// Translates user-facing texts; the English text is the key, as in a gettext catalogue.
class Localizer {
public:
    virtual ~Localizer() = default;
    virtual std::string translate(std::string_view english) const = 0;
    // The form for `count` of a text English writes in a singular and a plural.
    virtual std::string translatePlural(std::string_view singular, std::string_view plural,
                                        unsigned long long count) const = 0;
    // A text whose meaning depends on where it stands ("Open" as a verb or a state, a key's
    // name), told apart by `context`.
    virtual std::string translateInContext(std::string_view context, std::string_view english) const = 0;
};

// Installs the process's catalogue and returns the previous one (nullptr: English).
Localizer* setLocalizer(Localizer* localizer);

std::string tr(std::string_view english);
std::string trc(std::string_view context, std::string_view english);

// A text kept in a table and translated where it is shown (`tr(text)`); the marker only lets
// the extraction find it.
constexpr std::string_view trNoop(std::string_view english) {
    return english;
}

// The same for a text that needs a context: shown through `tr(TextInContext)`.
struct TextInContext {
    std::string_view context;
    std::string_view english;
    friend bool operator==(const TextInContext&, const TextInContext&) = default;
};
constexpr TextInContext trcNoop(std::string_view context, std::string_view english) {
    return {context, english};
}
std::string tr(const TextInContext& text);

// Fills a translated format's placeholders with args in order: %@, %d, %ld, %lld,
// positional %1$@ or %2$lld, and %% for a percent sign.
std::string formatLocalized(std::string_view format, const std::vector<std::string>& args);

namespace detail {
template <class... Args>
std::vector<std::string> textsOf(const Args&... args) {
    std::vector<std::string> texts;
    texts.reserve(sizeof...(args));
    (
        [&] {
            std::ostringstream out;
            out << args;
            texts.push_back(out.str());
        }(),
        ...);
    return texts;
}
std::string translatedPlural(std::string_view singular, std::string_view plural, long long count);
}  // namespace detail

template <class... Args>
std::string trf(std::string_view english, const Args&... args) {
    return formatLocalized(tr(english), detail::textsOf(args...));
}

// A format with a count in it, in the form the language uses for `count`; the count is
// among the args where the text shows it ("%lld"), like any other.
template <class... Args>
std::string trn(std::string_view singular, std::string_view plural, long long count, const Args&... args) {
    return formatLocalized(detail::translatedPlural(singular, plural, count), detail::textsOf(args...));
}

}  // namespace quillbern
