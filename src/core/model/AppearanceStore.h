#pragma once

#include <functional>
#include <string_view>

#include "core/foundation/Defaults.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/DockMaterial.h"
#include "core/platform/SystemAppearance.h"

namespace quillbern {

template <class T>
struct NumberSetting;

// The look of the docks and of the focus features. Each setting is read once at
// construction (clamped to its range) and written back when an assignment changes it;
// assignments themselves are not clamped. Main thread only.
class AppearanceStore {
public:
    static constexpr double kDefaultTileSize = 62;
    static constexpr double kDefaultCornerRadius = 13;
    static constexpr double kDefaultVeilIntensity = 0.35;

    AppearanceStore(Defaults& defaults, SystemAppearance& system, const RunLoop& mainLoop);
    AppearanceStore(const AppearanceStore&) = delete;
    AppearanceStore& operator=(const AppearanceStore&) = delete;

    // Called after every assignment of a setting and after every display-option notice.
    std::function<void()> onChange;
    // Told when a value really changes, the system's reduce-transparency included.
    Signal<> changed;

    double tileSize() const { return tileSize_; }
    DockMaterial material() const { return material_; }
    GlassTint glassTint() const { return glassTint_; }
    bool reduceTransparency() const { return reduceTransparency_; }
    bool showsLabels() const { return showsLabels_; }
    double cornerRadius() const { return cornerRadius_; }
    bool spotlightEnabled() const { return spotlightEnabled_; }
    double veilIntensity() const { return veilIntensity_; }
    // Whether the glass materials can be drawn, so offered.
    bool supportsGlass() const { return system_.supportsGlass(); }

    void setTileSize(double points);
    void setMaterial(DockMaterial material);
    void setGlassTint(GlassTint tint);
    void setShowsLabels(bool shows);
    void setCornerRadius(double points);
    void setSpotlightEnabled(bool enabled);
    void setVeilIntensity(double fraction);

    // Assigns every setting its default, one by one; reduceTransparency stays.
    void resetToDefaults();

private:
    double storedNumber(const NumberSetting<double>& setting) const;
    DockMaterial storedMaterial() const;
    template <class T>
    void assign(T& field, T value, std::string_view key, Json stored);
    void systemOptionsChanged();

    Defaults& defaults_;
    SystemAppearance& system_;
    const RunLoop& mainLoop_;
    double tileSize_;
    DockMaterial material_;
    GlassTint glassTint_;
    bool reduceTransparency_;
    bool showsLabels_;
    double cornerRadius_;
    bool spotlightEnabled_;
    double veilIntensity_;
    Subscription transparencyObserver_;
};

}  // namespace quillbern
