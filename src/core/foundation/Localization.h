#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quillbern {

// Translates user-facing texts; the English text is the key.
class Localizer {
public:
    virtual ~Localizer() = default;
    virtual std::string translate(std::string_view english) const = 0;
};

// Installs the process's catalogue and returns the previous one (nullptr: English).
Localizer* setLocalizer(Localizer* localizer);

std::string tr(std::string_view english);

// Fills a translated format's placeholders with args in order: %@, %d, %ld, %lld,
// positional %1$@ or %2$lld, and %% for a percent sign.
std::string formatLocalized(std::string_view format, const std::vector<std::string>& args);

template <class... Args>
std::string trf(std::string_view english, const Args&... args) {
    std::vector<std::string> texts;
    texts.reserve(sizeof...(args));
    (
        [&] {
            std::ostringstream out;
            out << args;
            texts.push_back(out.str());
        }(),
        ...);
    return formatLocalized(tr(english), texts);
}

}  // namespace quillbern
