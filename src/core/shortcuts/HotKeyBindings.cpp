#include "core/shortcuts/HotKeyBindings.h"

#include "core/foundation/Localization.h"

namespace quillbern {

namespace {

using Kind = HotKeyAction::Kind;

}  // namespace

// Accepts candidates in turn; a chord already claimed drops the later candidate, and one
// with too few modifiers is withheld, claiming nothing.
class HotKeyBindings::Claims {
public:
    void offer(const HotKeyAction& action, const HotKeyChord& chord, bool isCustom, std::string label) {
        if (!chord.hasEnoughModifiers()) {
            withheld.push_back({action, chord, isCustom, std::move(label)});
            return;
        }
        if (!claimed_.emplace(chord, label).second) return;
        accepted.push_back({action, chord, isCustom, std::move(label)});
    }

    std::vector<HotKeyBinding> accepted;
    std::vector<HotKeyBinding> withheld;

private:
    std::unordered_map<HotKeyChord, std::string> claimed_;
};

HotKeyChord HotKeyBindings::defaultChord(const HotKeyAction& feature) {
    KeyCode key = 0;
    switch (feature.kind()) {
        case Kind::overview:
            key = 0;  // A
            break;
        case Kind::search:
            key = 1;  // S
            break;
        case Kind::files:
            key = 31;  // O
            break;
        case Kind::focusMode:
            key = 9;  // V
            break;
        case Kind::workspace:
            key = 13;  // W
            break;
        case Kind::cheatSheet:
            key = 40;  // K
            break;
        case Kind::peekDocks:
            key = 35;  // P
            break;
        case Kind::profile:
            break;
    }
    return {key, HotKeyChord::kControlCommand};
}

std::string HotKeyBindings::label(const HotKeyAction& action) {
    switch (action.kind()) {
        case Kind::overview:
            // TRANSLATORS: the names of Quillbern's features, as shortcuts and the tray menu name them.
            return tr("All open apps");
        case Kind::search:
            return tr("Search apps");
        case Kind::files:
            return tr("Open a file");
        case Kind::focusMode:
            return tr("Focus mode");
        case Kind::workspace:
            // TRANSLATORS: Quillbern's workspace, applications whose windows tile themselves side by
            // side; not the desktop's workspaces (virtual desktops).
            return tr("Workspace");
        case Kind::cheatSheet:
            return tr("Keyboard shortcuts");
        case Kind::peekDocks:
            return tr("Peek at all docks");
        case Kind::profile:
            break;
    }
    return {};
}

std::vector<HotKeyBinding> HotKeyBindings::resolve(const std::vector<Profile>& profiles,
                                                   const HotKeyOverrides& overrides, bool autoHide) {
    return claim(profiles, overrides, autoHide).accepted;
}

std::vector<HotKeyBinding> HotKeyBindings::withheld(const std::vector<Profile>& profiles,
                                                    const HotKeyOverrides& overrides, bool autoHide) {
    return claim(profiles, overrides, autoHide).withheld;
}

HotKeyBindings::Claims HotKeyBindings::claim(const std::vector<Profile>& profiles, const HotKeyOverrides& overrides,
                                             bool autoHide) {
    const auto isLive = [autoHide](const HotKeyAction& feature) {
        return autoHide || feature.kind() != Kind::peekDocks;
    };
    Claims claims;
    for (const Profile& dock : profiles) {
        if (dock.chord) claims.offer(HotKeyAction::profile(dock.id), *dock.chord, true, dock.name);
    }
    for (const HotKeyAction& feature : kFeatureOrder) {
        const auto found = overrides.find(feature);
        if (isLive(feature) && found != overrides.end()) claims.offer(feature, found->second, true, label(feature));
    }
    for (std::size_t position = 0; position < profiles.size() && position < kDockDigitKeys.size(); ++position) {
        const Profile& dock = profiles[position];
        if (!dock.chord) {
            claims.offer(HotKeyAction::profile(dock.id), {kDockDigitKeys[position], HotKeyChord::kControlCommand},
                         false, dock.name);
        }
    }
    for (const HotKeyAction& feature : kFeatureOrder) {
        if (isLive(feature) && !overrides.contains(feature))
            claims.offer(feature, defaultChord(feature), false, label(feature));
    }
    return claims;
}

std::unordered_map<HotKeyChord, std::string> HotKeyBindings::claimedMap(const std::vector<Profile>& profiles,
                                                                        const HotKeyOverrides& overrides,
                                                                        const HotKeyAction& excluding, bool autoHide) {
    std::unordered_map<HotKeyChord, std::string> claimed;
    for (HotKeyBinding& binding : resolve(profiles, overrides, autoHide)) {
        if (binding.action != excluding) claimed.emplace(binding.chord, std::move(binding.label));
    }
    return claimed;
}

}  // namespace quillbern
