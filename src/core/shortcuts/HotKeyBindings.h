#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/DockPreferences.h"
#include "core/model/HotKeyAction.h"
#include "core/model/HotKeyChord.h"
#include "core/model/Profile.h"

namespace quillbern {

// One live global shortcut.
struct HotKeyBinding {
    HotKeyAction action;
    HotKeyChord chord;
    // Chosen by the user (a dock's own chord or an override), not a built-in default.
    bool isCustom = false;
    // The dock's name for a dock, else the feature's name.
    std::string label;

    bool operator==(const HotKeyBinding&) const = default;
};

// Which global shortcuts are live. Every chord goes to its first claimant, in four
// passes: the docks' own chords in list order, the feature overrides in feature order,
// Control-Command and the digit of their list position for the other docks, then the
// feature defaults. A feature with an override never falls back to its default, and the
// peek shortcut exists only while docks hide themselves. A stored chord with fewer than
// two modifiers is withheld: its action has no shortcut until another is recorded.
class HotKeyBindings {
public:
    // The digit keys 1 to 9 and 0, for the docks at list positions 0 to 9.
    static constexpr std::array<KeyCode, 10> kDockDigitKeys{18, 19, 20, 21, 23, 22, 26, 28, 25, 29};

    // The built-in chord of a feature action.
    static HotKeyChord defaultChord(const HotKeyAction& feature);
    // The localised name of a feature; empty for a dock action.
    static std::string label(const HotKeyAction& action);

    // The live shortcuts in the order they were accepted.
    static std::vector<HotKeyBinding> resolve(const std::vector<Profile>& profiles, const HotKeyOverrides& overrides,
                                              bool autoHide);
    // The stored chords that resolve leaves out for too few modifiers, in the same order.
    static std::vector<HotKeyBinding> withheld(const std::vector<Profile>& profiles, const HotKeyOverrides& overrides,
                                               bool autoHide);
    // Every live chord and the name of its holder, leaving out the bindings of one action.
    static std::unordered_map<HotKeyChord, std::string> claimedMap(const std::vector<Profile>& profiles,
                                                                   const HotKeyOverrides& overrides,
                                                                   const HotKeyAction& excluding, bool autoHide);

private:
    class Claims;
    static Claims claim(const std::vector<Profile>& profiles, const HotKeyOverrides& overrides, bool autoHide);
};

}  // namespace quillbern
