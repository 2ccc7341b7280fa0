#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/CaseNames.h"

namespace quillbern {

// The background look of a dock bar, stored by case name.
enum class DockMaterial { liquidClear, liquid, ultraThin, regular, thick, opaque };

template <>
struct CaseNames<DockMaterial> {
    static constexpr std::array<std::string_view, 6> names{"liquidClear", "liquid", "ultraThin",
                                                           "regular",     "thick",  "opaque"};
};

std::string label(DockMaterial material);
bool isLiquid(DockMaterial material);
// The materials Settings offers: the glass ones only where glass can be drawn.
std::vector<DockMaterial> availableMaterials(bool supportsGlass);
DockMaterial defaultMaterial(bool supportsGlass);

// The tint of a glass dock.
enum class GlassTint { none, accent };

template <>
struct CaseNames<GlassTint> {
    static constexpr std::array<std::string_view, 2> names{"none", "accent"};
};

std::string label(GlassTint tint);

}  // namespace quillbern
