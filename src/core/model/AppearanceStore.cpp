#include "core/model/AppearanceStore.h"

#include "core/model/StoredSetting.h"

namespace quillbern {

namespace {

constexpr NumberSetting<double> kTileSize{"appearanceTileSize", 48, 88, AppearanceStore::kDefaultTileSize};
constexpr std::string_view kMaterialKey = "appearanceMaterial";
constexpr std::string_view kGlassTintKey = "appearanceGlassTint";
constexpr std::string_view kShowsLabelsKey = "appearanceShowsLabels";
constexpr NumberSetting<double> kCornerRadius{"appearanceCornerRadius", 8, 30, AppearanceStore::kDefaultCornerRadius};
constexpr std::string_view kSpotlightKey = "appearanceSpotlight";
constexpr NumberSetting<double> kVeilIntensity{"appearanceVeilIntensity", 0.15, 0.5,
                                               AppearanceStore::kDefaultVeilIntensity};

}  // namespace

AppearanceStore::AppearanceStore(Defaults& defaults, SystemAppearance& system, const RunLoop& mainLoop)
    : defaults_(defaults),
      system_(system),
      mainLoop_(mainLoop),
      tileSize_(storedNumber(kTileSize)),
      material_(storedMaterial()),
      glassTint_(defaults.stringValue(kGlassTintKey) == "accent" ? GlassTint::accent : GlassTint::none),
      reduceTransparency_(system.reduceTransparency()),
      showsLabels_(defaults.boolValue(kShowsLabelsKey).value_or(false)),
      cornerRadius_(storedNumber(kCornerRadius)),
      spotlightEnabled_(defaults.boolValue(kSpotlightKey).value_or(false)),
      veilIntensity_(storedNumber(kVeilIntensity)),
      transparencyObserver_(system.onChanged([this] { systemOptionsChanged(); })) {}

double AppearanceStore::storedNumber(const NumberSetting<double>& setting) const {
    // Zero or less counts as never set.
    const auto stored = defaults_.doubleValue(setting.key);
    return setting.clamped(stored && *stored > 0 ? stored : std::nullopt);
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
    if (storeSetting(defaults_, key, field, value, std::move(stored))) changed.emit();
    if (onChange) onChange();
}

void AppearanceStore::setTileSize(double points) {
    assign(tileSize_, points, kTileSize.key, points);
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
    assign(cornerRadius_, points, kCornerRadius.key, points);
}

void AppearanceStore::setSpotlightEnabled(bool enabled) {
    assign(spotlightEnabled_, enabled, kSpotlightKey, enabled);
}

void AppearanceStore::setVeilIntensity(double fraction) {
    assign(veilIntensity_, fraction, kVeilIntensity.key, fraction);
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
