#include "core/palettes/FileOpenWith.h"

#include <algorithm>

namespace quillbern {

namespace {

// One character that a single UTF-16 unit holds: a key cap shows nothing longer.
bool isOneBasicCharacter(const std::string& text) {
    if (text.empty()) return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 0;
    return length != 0 && text.size() == length;
}

}  // namespace

std::vector<OpenWithCandidate> openWithCandidates(const Launcher& launcher, const Path& path) {
    std::vector<OpenWithCandidate> candidates;
    if (std::optional<InstalledApp> preferred = launcher.defaultAppFor(path))
        candidates.push_back({std::move(*preferred), true});
    for (InstalledApp& app : launcher.appsFor(path)) {
        const bool listed = std::ranges::any_of(candidates, [&app](const OpenWithCandidate& candidate) {
            return candidate.app.path == app.path || candidate.app.appId == app.appId;
        });
        if (!listed) candidates.push_back({std::move(app), false});
    }
    if (candidates.size() > kMaxOpenWithCandidates) candidates.resize(kMaxOpenWithCandidates);
    return candidates;
}

std::string digitRowLabel(const KeyboardLayout& layout, std::size_t index) {
    if (index < kLabelledDigits) {
        const KeyTranslation typed = layout.translate(kPaletteDigitKeyCodes[index]);
        if (typed.status == KeyTranslation::Status::ok && isOneBasicCharacter(typed.text)) return typed.text;
    }
    return std::to_string(index + 1);
}

}  // namespace quillbern
