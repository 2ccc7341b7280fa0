#include "core/settings/AppearancePaneModel.h"

#include <algorithm>
#include <cmath>

#include "core/foundation/Localization.h"

namespace quillbern {

std::string pointsReadout(double points) {
    // TRANSLATORS: a size in points beside its slider ("48 pt").
    return trf("%lld pt", static_cast<long long>(std::trunc(points)));
}

std::string percentReadout(double fraction) {
    // TRANSLATORS: a percentage beside its slider ("40 %"), written as the language writes one.
    return trf("%lld %%", static_cast<long long>(std::round(fraction * 100)));
}

SliderScale AppearancePaneModel::scale(AppearanceSlider slider) {
    switch (slider) {
        case AppearanceSlider::tileSize:
            return {48, 2, 20};
        case AppearanceSlider::cornerRadius:
            return {8, 1, 22};
        case AppearanceSlider::dimming:
            return {15, 5, 7, 100};
    }
    return {0, 1, 0};
}

double AppearancePaneModel::readoutUnit(AppearanceSlider slider) {
    return slider == AppearanceSlider::dimming ? 100 : 1;
}

double AppearancePaneModel::value(AppearanceSlider slider) const {
    switch (slider) {
        case AppearanceSlider::tileSize:
            return store_.tileSize();
        case AppearanceSlider::cornerRadius:
            return store_.cornerRadius();
        case AppearanceSlider::dimming:
            return store_.veilIntensity();
    }
    return 0;
}

int AppearancePaneModel::position(AppearanceSlider slider) const {
    return scale(slider).position(value(slider));
}

void AppearancePaneModel::setPosition(AppearanceSlider slider, int position) {
    const double newValue = scale(slider).value(position);
    switch (slider) {
        case AppearanceSlider::tileSize:
            return store_.setTileSize(newValue);
        case AppearanceSlider::cornerRadius:
            return store_.setCornerRadius(newValue);
        case AppearanceSlider::dimming:
            return store_.setVeilIntensity(newValue);
    }
}

std::string AppearancePaneModel::readout(AppearanceSlider slider) const {
    const double shown = value(slider);
    return slider == AppearanceSlider::dimming ? percentReadout(shown) : pointsReadout(shown);
}

std::vector<DockMaterial> AppearancePaneModel::materials() const {
    return availableMaterials(store_.supportsGlass());
}

bool AppearancePaneModel::showsGlassTint() const {
    return isLiquid(store_.material());
}

}  // namespace quillbern
