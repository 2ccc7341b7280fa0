#include "core/model/AppearanceStore.h"

#include <algorithm>

namespace quillbern {

namespace {
constexpr std::string_view kTileSizeKey = "appearanceTileSize";
constexpr std::string_view kMaterialKey = "appearanceMaterial";
constexpr std::string_view kGlassTintKey = "appearanceGlassTint";
constexpr std::string_view kShowsLabelsKey = "appearanceShowsLabels";
constexpr std::string_view kCornerRadiusKey = "appearanceCornerRadius";
constexpr std::string_view kSpotlightKey = "appearanceSpotlight";
constexpr std::string_view kVeilIntensityKey = "appearanceVeilIntensity";
}  // namespace

AppearanceStore::AppearanceStore(Defaults& defaults, SystemAppearance& system, const RunLoop& mainLoop)
    : defaults_(defaults),
      system_(system),
      mainLoop_(mainLoop),
      tileSize_(storedNumber(kTileSizeKey, 48, 88, kDefaultTileSize)),
      material_(storedMaterial()),
      glassTint_(defaults.stringValue(kGlassTintKey) == "accent" ? GlassTint::accent : GlassTint::none),
      reduceTransparency_(system.reduceTransparency()),
      showsLabels_(defaults.boolValue(kShowsLabelsKey).value_or(false)),
      cornerRadius_(storedNumber(kCornerRadiusKey, 8, 30, kDefaultCornerRadius)),
      spotlightEnabled_(defaults.boolValue(kSpotlightKey).value_or(false)),
      veilIntensity_(storedNumber(kVeilIntensityKey, 0.15, 0.5, kDefaultVeilIntensity)),
      transparencyObserver_(system.onChanged([this] { systemOptionsChanged(); })) {}

double AppearanceStore::storedNumber(std::string_view key, double low, double high, double fallback) const {
    const double stored = defaults_.doubleValue(key).value_or(0);
    return stored > 0 ? std::clamp(stored, low, high) : fallback;
}

DockMaterial AppearanceStore::storedMaterial() const {
    const bool glass = system_.supportsGlass();
    const auto stored = defaults_.stringValue(kMaterialKey);
    const auto material = stored ? caseNamed<DockMaterial>(*stored) : std::nullopt;
    if (!material) return defaultMaterial(glass);
    // Glass stored where it cannot be drawn shows as the nearest plain material.
    if (!glass && *material == DockMaterial::liquidClear) return DockMaterial::ultraThin;
    if (!glass && *material == DockMaterial::liquid) return DockMaterial::regular;
    return *material;
}

template <class T>
void AppearanceStore::assign(T& field, T value, std::string_view key, Json stored) {
    expectOnLoop(mainLoop_);
    const bool isChange = field != value;
    field = value;
    if (isChange) changed.emit();
    defaults_.set(key, std::move(stored));
    if (onChange) onChange();
}

void AppearanceStore::setTileSize(double points) {
    assign(tileSize_, points, kTileSizeKey, points);
}

void AppearanceStore::setMaterial(DockMaterial material) {
    assign(material_, material, kMaterialKey, caseName(material));
}

void AppearanceStore::setGlassTint(GlassTint tint) {
    assign(glassTint_, tint, kGlassTintKey, caseName(tint));
}

void AppearanceStore::setShowsLabels(bool shows) {
    assign(showsLabels_, shows, kShowsLabelsKey, shows);
}

void AppearanceStore::setCornerRadius(double points) {
    assign(cornerRadius_, points, kCornerRadiusKey, points);
}

void AppearanceStore::setSpotlightEnabled(bool enabled) {
    assign(spotlightEnabled_, enabled, kSpotlightKey, enabled);
}

void AppearanceStore::setVeilIntensity(double fraction) {
    assign(veilIntensity_, fraction, kVeilIntensityKey, fraction);
}

void AppearanceStore::resetToDefaults() {
    setTileSize(kDefaultTileSize);
    setMaterial(defaultMaterial(system_.supportsGlass()));
    setGlassTint(GlassTint::none);
    setShowsLabels(false);
    setCornerRadius(kDefaultCornerRadius);
    setSpotlightEnabled(false);
    setVeilIntensity(kDefaultVeilIntensity);
}

void AppearanceStore::systemOptionsChanged() {
    expectOnLoop(mainLoop_);
    const bool reduce = system_.reduceTransparency();
    if (reduce != reduceTransparency_) {
        reduceTransparency_ = reduce;
        changed.emit();
    }
    if (onChange) onChange();
}

}  // namespace quillbern
