#include "sim/SimKeyboardLayout.h"

#include <array>
#include <utility>

namespace quillbern {

namespace {

// What the letter, digit and punctuation keys type without modifiers, by key code.
constexpr std::array<std::pair<KeyCode, const char*>, 47> kUs{{
    {0, "a"},   {1, "s"},  {2, "d"},  {3, "f"},  {4, "h"},  {5, "g"},  {6, "z"},  {7, "x"},  {8, "c"},  {9, "v"},
    {11, "b"},  {12, "q"}, {13, "w"}, {14, "e"}, {15, "r"}, {16, "y"}, {17, "t"}, {18, "1"}, {19, "2"}, {20, "3"},
    {21, "4"},  {22, "6"}, {23, "5"}, {24, "="}, {25, "9"}, {26, "7"}, {27, "-"}, {28, "8"}, {29, "0"}, {30, "]"},
    {31, "o"},  {32, "u"}, {33, "["}, {34, "i"}, {35, "p"}, {37, "l"}, {38, "j"}, {39, "'"}, {40, "k"}, {41, ";"},
    {42, "\\"}, {43, ","}, {44, "/"}, {45, "n"}, {46, "m"}, {47, "."}, {50, "`"},
}};

// Where AZERTY differs; the key beside P is a dead circumflex.
constexpr std::array<std::pair<KeyCode, const char*>, 20> kFrench{{
    {0, "q"},  {12, "a"},  {6, "w"},  {13, "z"}, {41, "m"}, {46, ","}, {43, ";"}, {47, ":"}, {44, "!"}, {18, "&"},
    {19, "é"}, {20, "\""}, {21, "'"}, {23, "("}, {22, "-"}, {26, "è"}, {28, "_"}, {25, "ç"}, {29, "à"}, {33, "^"},
}};

const char* lookUp(const auto& table, KeyCode keyCode) {
    for (const auto& [code, text] : table) {
        if (code == keyCode) return text;
    }
    return nullptr;
}

}  // namespace

KeyTranslation SimKeyboardLayout::translate(KeyCode keyCode) const {
    if (const auto found = overrides_.find(keyCode); found != overrides_.end()) return found->second;
    if (layout_ == Layout::none) return {KeyTranslation::Status::noLayout, {}};
    const char* text = layout_ == Layout::french ? lookUp(kFrench, keyCode) : nullptr;
    if (!text) text = lookUp(kUs, keyCode);
    if (!text) return {KeyTranslation::Status::failed, {}};
    return {KeyTranslation::Status::ok, text};
}

std::optional<KeyCode> SimKeyboardLayout::keyCodeForScanCode(std::uint32_t nativeScanCode) const {
    const auto found = scanCodes_.find(nativeScanCode);
    if (found == scanCodes_.end()) return std::nullopt;
    return found->second;
}

std::string SimKeyboardLayout::keyName(std::uint32_t nativeScanCode) const {
    const auto found = keyNames_.find(nativeScanCode);
    return found == keyNames_.end() ? std::string() : found->second;
}

}  // namespace quillbern
