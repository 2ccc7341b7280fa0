#pragma once

#include <string_view>
#include <unordered_map>

#include "core/model/HotKeyChord.h"

namespace quillbern {

// What is known of a chord before it is registered.
class HotKeyProbe {
public:
    HotKeyProbe() = delete;

    // The chords of two or more modifiers that Linux desktops (GNOME, KDE, Xfce) or the X
    // server keep for themselves, with the name of what each does there, in English (`tr`
    // translates it where it is shown). Chords of one modifier (Alt+Tab, Super+L, Print)
    // are refused before anyone asks, so they are not listed.
    static const std::unordered_map<HotKeyChord, std::string_view>& wellKnown();
};

}  // namespace quillbern
