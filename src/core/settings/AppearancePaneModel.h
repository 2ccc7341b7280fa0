#pragma once

#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/model/AppearanceStore.h"
#include "core/settings/SliderScale.h"

namespace quillbern {

// "62 pt": the whole part of a size, truncated toward zero.
std::string pointsReadout(double points);
// "35 %": a fraction in percent, rounded half away from zero.
std::string percentReadout(double fraction);

// The three sliders of the Appearance pane, in the order it shows them.
enum class AppearanceSlider { tileSize, cornerRadius, dimming };

// What the Appearance pane shows of the appearance store, and how its controls write it:
// a slider's position is turned into its value here, and only the user's moves write.
class AppearancePaneModel {
public:
    explicit AppearancePaneModel(AppearanceStore& store)
        : store_(store), storeChanged_(store.changed.connect([this] { changed.emit(); })) {}
    AppearancePaneModel(const AppearancePaneModel&) = delete;
    AppearancePaneModel& operator=(const AppearancePaneModel&) = delete;

    // The store changed.
    Signal<> changed;

    static SliderScale scale(AppearanceSlider slider);
    // What the readout counts in, per unit of the stored value: points, or percent.
    static double readoutUnit(AppearanceSlider slider);
    // The stored value, and the slider's position nearest to it.
    double value(AppearanceSlider slider) const;
    int position(AppearanceSlider slider) const;
    // Stores the position's value; called at every step while the user moves a slider.
    void setPosition(AppearanceSlider slider, int position);
    // The stored value's readout, also of a value between two positions.
    std::string readout(AppearanceSlider slider) const;

    std::vector<DockMaterial> materials() const;
    DockMaterial material() const { return store_.material(); }
    void setMaterial(DockMaterial material) { store_.setMaterial(material); }
    // The glass tint and its caption show only while the material is glass.
    bool showsGlassTint() const;
    GlassTint glassTint() const { return store_.glassTint(); }
    void setGlassTint(GlassTint tint) { store_.setGlassTint(tint); }
    bool showsLabels() const { return store_.showsLabels(); }
    void setShowsLabels(bool on) { store_.setShowsLabels(on); }
    bool spotlightEnabled() const { return store_.spotlightEnabled(); }
    void setSpotlightEnabled(bool on) { store_.setSpotlightEnabled(on); }
    void resetToDefaults() { store_.resetToDefaults(); }

private:
    AppearanceStore& store_;
    Subscription storeChanged_;
};

}  // namespace quillbern
