#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace quillbern {

// A language the interface speaks, by the code the language picker stores, named in its own
// language.
struct InterfaceLanguage {
    std::string_view code;
    std::string_view label;
};

// The languages of the picker: English, then those the program has catalogues of, each named
// as its speakers write it, in every language of the interface.
inline constexpr std::array<InterfaceLanguage, 6> kInterfaceLanguages{{
    {"en", "English"},
    {"fr", "Français"},
    {"de", "Deutsch"},
    {"es", "Español"},
    {"ja", "日本語"},
    {"zh-Hans", "简体中文"},
}};

constexpr bool isInterfaceLanguage(std::string_view code) {
    return std::ranges::any_of(kInterfaceLanguages,
                               [code](const InterfaceLanguage& offered) { return offered.code == code; });
}

}  // namespace quillbern
