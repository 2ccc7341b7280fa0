#include <gtest/gtest.h>
#include <set>

#include "core/settings/AppearancePaneModel.h"
#include "settings/SettingsTest.h"

using namespace quillbern;

namespace {

constexpr AppearanceSlider kSliders[] = {AppearanceSlider::tileSize, AppearanceSlider::cornerRadius,
                                         AppearanceSlider::dimming};

struct AppearancePaneModelTest : quillbern::testing::SettingsTest {
    SimWorld& world = w.world;
    AppearanceStore store{world.defaults, world.appearance, world.mainLoop};
    AppearancePaneModel model{store};
};

}  // namespace

TEST(AppearanceReadouts, PointsTruncateAndPercentRoundsHalfAwayFromZero) {
    EXPECT_EQ(pointsReadout(62), "62 pt");
    EXPECT_EQ(pointsReadout(13.99), "13 pt");
    EXPECT_EQ(pointsReadout(88), "88 pt");
    EXPECT_EQ(percentReadout(0.35), "35 %");
    EXPECT_EQ(percentReadout(0.15), "15 %");
    EXPECT_EQ(percentReadout(0.5), "50 %");
    EXPECT_EQ(percentReadout(0.125), "13 %");
    EXPECT_EQ(percentReadout(0.3449), "34 %");
}

TEST_F(AppearancePaneModelTest, EveryPositionStoresItsExactValueAndReadsBackAtItsPlace) {
    struct Expected {
        AppearanceSlider slider;
        const char* key;
        std::vector<std::string> stored;
        std::string firstReadout, lastReadout;
    };
    const Expected sliders[] = {
        {AppearanceSlider::tileSize, "appearanceTileSize", {"48.0", "50.0", "52.0"}, "48 pt", "88 pt"},
        {AppearanceSlider::cornerRadius, "appearanceCornerRadius", {"8.0", "9.0", "10.0"}, "8 pt", "30 pt"},
        {AppearanceSlider::dimming,
         "appearanceVeilIntensity",
         {"0.15", "0.2", "0.25", "0.3", "0.35", "0.4", "0.45", "0.5"},
         "15 %",
         "50 %"},
    };
    for (const auto& expected : sliders) {
        const SliderScale scale = AppearancePaneModel::scale(expected.slider);
        std::set<std::string> readouts;
        for (int i = 0; i <= scale.last; ++i) {
            model.setPosition(expected.slider, i);
            EXPECT_EQ(model.position(expected.slider), i);
            readouts.insert(model.readout(expected.slider));
            if (static_cast<std::size_t>(i) < expected.stored.size()) {
                // The stored text has no trailing digits of a sum that drifted.
                EXPECT_EQ(world.defaults.value(expected.key)->dump(), expected.stored[i]) << i;
            }
        }
        EXPECT_EQ(readouts.size(), static_cast<std::size_t>(scale.last + 1)) << expected.key;
        model.setPosition(expected.slider, 0);
        EXPECT_EQ(model.readout(expected.slider), expected.firstReadout);
        model.setPosition(expected.slider, scale.last);
        EXPECT_EQ(model.readout(expected.slider), expected.lastReadout);
    }
    EXPECT_EQ(model.position(AppearanceSlider::dimming), 7);
}

TEST_F(AppearancePaneModelTest, AValueOffTheStepsShowsItsOwnReadoutAtTheNearestPlace) {
    store.setTileSize(63.5);
    store.setCornerRadius(12.4);
    store.setVeilIntensity(0.33);
    world.defaults.resetWriteCounts();

    EXPECT_EQ(model.position(AppearanceSlider::tileSize), 8);
    EXPECT_EQ(model.readout(AppearanceSlider::tileSize), "63 pt");
    EXPECT_EQ(model.position(AppearanceSlider::cornerRadius), 4);
    EXPECT_EQ(model.readout(AppearanceSlider::cornerRadius), "12 pt");
    EXPECT_EQ(model.position(AppearanceSlider::dimming), 4);
    EXPECT_EQ(model.readout(AppearanceSlider::dimming), "33 %");
    // Reading writes nothing back.
    EXPECT_EQ(world.defaults.writeCount("appearanceTileSize"), 0);
    EXPECT_EQ(store.tileSize(), 63.5);

    // Outside the range, the slider stands at its end.
    store.setTileSize(120);
    store.setVeilIntensity(0.01);
    EXPECT_EQ(model.position(AppearanceSlider::tileSize), 20);
    EXPECT_EQ(model.position(AppearanceSlider::dimming), 0);
    for (const AppearanceSlider slider : kSliders) {
        model.setPosition(slider, 99);
        EXPECT_EQ(model.position(slider), AppearancePaneModel::scale(slider).last);
    }
}

TEST_F(AppearancePaneModelTest, GlassIsOfferedOnlyWhereItCanBeDrawnAndTheTintOnlyForGlass) {
    using enum DockMaterial;
    EXPECT_EQ(model.materials(), (std::vector{ultraThin, regular, thick, opaque}));
    EXPECT_FALSE(model.showsGlassTint());

    world.appearance.setSupportsGlass(true);
    EXPECT_EQ(model.materials(), (std::vector{liquidClear, liquid, ultraThin, regular, thick, opaque}));
    store.setGlassTint(GlassTint::accent);
    for (const DockMaterial material : model.materials()) {
        store.setMaterial(material);
        EXPECT_EQ(model.showsGlassTint(), material == liquidClear || material == liquid);
    }
    EXPECT_EQ(store.glassTint(), GlassTint::accent);
}
