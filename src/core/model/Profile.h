#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/DisplayAssignment.h"
#include "core/model/DockAlignment.h"
#include "core/model/DockEdge.h"
#include "core/model/HotKeyChord.h"
#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"
#include "core/model/PinnedItem.h"
#include "core/model/RevealMode.h"

namespace quillbern {

// One dock.
struct Profile {
    Uuid id;
    std::string name;
    std::vector<PinnedItem> items;
    DockEdge edge = DockEdge::bottom;
    DisplayAssignment display;
    bool isVisible = false;
    // A switched-off dock is never shown, whatever isVisible holds.
    bool isEnabled = false;
    // Also shows its display's running applications that are not pinned.
    bool showsWindows = false;
    RevealMode revealMode = RevealMode::hover;
    DockAlignment alignment = DockAlignment::center;
    std::optional<HotKeyChord> chord;

    bool operator==(const Profile&) const = default;

    // Every pinned application, folders opened depth-first.
    std::vector<PinnedApp> allApps() const;

    // Every member but an absent chord, in a fixed order; never the older "pins".
    void write(JsonWriter& writer) const;
};

// A profile as read, with the number of stored elements the lenient reading left out
// (unreadable items, an unreadable chord, a reveal mode or alignment naming no case,
// members it does not know).
struct ReadProfile {
    Profile profile;
    std::size_t dropped = 0;

    // Forgiving where the record grew over time, strict for identity, name, edge and display.
    static ReadProfile read(const JsonReader& reader);
};

}  // namespace quillbern
