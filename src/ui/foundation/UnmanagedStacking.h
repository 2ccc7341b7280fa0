#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillbern {

// A window at the top of the desktop's stacking, as X lists them.
struct StackedWindow {
    enum class Owner {
        other,
        // One of our panels at the level of the one being placed, or below it.
        us,
        // One of our panels at a higher level.
        usAbove,
    };
    std::uint32_t id = 0;
    bool shown = false;
    // Outside window management: menus, tooltips, overlays like ours.
    bool unmanaged = false;
    Owner owner = Owner::other;
};

// Where one of our unmanaged panels goes: next to a sibling, or on top of all (none).
struct StackTarget {
    std::uint32_t sibling = 0;
    bool above = false;
    bool operator==(const StackTarget&) const = default;
};

// An unmanaged panel stands over every shown window that the window manager stacks
// (full-screen ones too), and below those of our panels at higher levels that stand over
// them. Menus and other unmanaged windows of others keep their places.
std::optional<StackTarget> unmanagedPlacement(const std::vector<StackedWindow>& bottomToTop);

// Whether the window manager keeps every window it does not manage over all those it
// manages: metacity puts one stacked lower back on top at once.
bool keepsUnmanagedOnTop(std::string_view windowManagerName);

}  // namespace quillbern
