#include "core/model/DockMaterial.h"

#include "core/foundation/Localization.h"

namespace quillbern {

std::string label(DockMaterial material) {
    switch (material) {
        case DockMaterial::liquidClear:
            // TRANSLATORS: the materials a dock's background can be made of, from clear to opaque
            // (Settings › Appearance › Background): "Ultra-thin", "Regular" and "Thick" are glass of
            // that thickness, named by the thickness alone.
            return tr("Clear glass");
        case DockMaterial::liquid:
            return tr("Liquid glass");
        case DockMaterial::ultraThin:
            return tr("Ultra-thin");
        case DockMaterial::regular:
            return tr("Regular");
        case DockMaterial::thick:
            return tr("Thick");
        case DockMaterial::opaque:
            return tr("Opaque");
    }
    return {};
}

bool isLiquid(DockMaterial material) {
    return material == DockMaterial::liquidClear || material == DockMaterial::liquid;
}

std::vector<DockMaterial> availableMaterials(bool supportsGlass) {
    std::vector<DockMaterial> out;
    for (std::size_t i = 0; i < CaseNames<DockMaterial>::names.size(); ++i) {
        const auto material = static_cast<DockMaterial>(i);
        if (supportsGlass || !isLiquid(material)) out.push_back(material);
    }
    return out;
}

DockMaterial defaultMaterial(bool supportsGlass) {
    return supportsGlass ? DockMaterial::liquidClear : DockMaterial::ultraThin;
}

std::string label(GlassTint tint) {
    switch (tint) {
        case GlassTint::none:
            // TRANSLATORS: a dock's glass left without a tint, or tinted in the desktop's accent colour.
            return trc("glass tint", "None");
        case GlassTint::accent:
            return tr("Accent");
    }
    return {};
}

}  // namespace quillbern
