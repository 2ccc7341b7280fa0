#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/platform/KeyboardLayout.h"
#include "core/platform/Launcher.h"

namespace quillbern {

// The digit-row keys 1 to 9, then 0: Command with the n-th picks the n-th application,
// matched by the key's place whatever the layout.
inline constexpr std::array<KeyCode, 10> kPaletteDigitKeyCodes = {18, 19, 20, 21, 23, 22, 26, 28, 25, 29};
// Of those, the menu labels the first nine.
inline constexpr std::size_t kLabelledDigits = 9;
inline constexpr std::size_t kMaxOpenWithCandidates = 12;

// An application that can open a file, as the picker lists it.
struct OpenWithCandidate {
    InstalledApp app;
    // The desktop names it as the default for the file's type.
    bool isDefault = false;
    bool operator==(const OpenWithCandidate&) const = default;
};

// The default application first, then every other that opens the item, each once, at
// most kMaxOpenWithCandidates.
std::vector<OpenWithCandidate> openWithCandidates(const Launcher& launcher, const Path& path);

// What the index-th digit-row key types on the current layout ("&" for the first on a
// French keyboard), else the digit itself.
std::string digitRowLabel(const KeyboardLayout& layout, std::size_t index);

}  // namespace quillbern
