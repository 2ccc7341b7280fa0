#include <gtest/gtest.h>

#include "core/model/AppearanceStore.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

struct AppearanceStoreTest : testing::Test {
    SimWorld world;
    SimSystemAppearance system;

    AppearanceStore load() { return AppearanceStore(world.defaults, system, world.mainLoop); }
};

}  // namespace

TEST_F(AppearanceStoreTest, StoredNumbersAreClampedOrReplacedAtLoad) {
    struct Case {
        Json stored;
        double tile, corner, veil;
    };
    const Case cases[] = {
        {Json(), 62, 13, 0.35},  // missing
        {0, 62, 13, 0.35},       // zero
        {-5, 62, 13, 0.35},      // negative
        {"70", 62, 13, 0.35},    // not a number
        {40, 48, 30, 0.5},       // below the tile range, above the others
        {100, 88, 30, 0.5},     {70, 70, 30, 0.5}, {5, 48, 8, 0.5}, {0.1, 48, 8, 0.15}, {20.5, 48, 20.5, 0.5},
    };
    for (const auto& c : cases) {
        for (const char* key : {"appearanceTileSize", "appearanceCornerRadius", "appearanceVeilIntensity"}) {
            if (c.stored.is_null()) {
                world.defaults.remove(key);
            } else {
                world.defaults.set(key, c.stored);
            }
        }
        const auto store = load();
        EXPECT_EQ(store.tileSize(), c.tile) << c.stored;
        EXPECT_EQ(store.cornerRadius(), c.corner) << c.stored;
        EXPECT_EQ(store.veilIntensity(), c.veil) << c.stored;
    }
}

TEST_F(AppearanceStoreTest, StoredTextsReadExactlyAndGlassFallsBackWhereItCannotBeDrawn) {
    world.defaults.set("appearanceMaterial", "liquid");
    system.setSupportsGlass(false);
    EXPECT_EQ(load().material(), DockMaterial::regular);
    world.defaults.set("appearanceMaterial", "liquidClear");
    EXPECT_EQ(load().material(), DockMaterial::ultraThin);
    world.defaults.set("appearanceMaterial", "Regular");
    EXPECT_EQ(load().material(), DockMaterial::ultraThin);
    world.defaults.set("appearanceMaterial", "thick");
    EXPECT_EQ(load().material(), DockMaterial::thick);
    EXPECT_FALSE(load().supportsGlass());

    system.setSupportsGlass(true);
    world.defaults.set("appearanceMaterial", "liquid");
    EXPECT_EQ(load().material(), DockMaterial::liquid);
    EXPECT_TRUE(load().supportsGlass());
    world.defaults.remove("appearanceMaterial");
    EXPECT_EQ(load().material(), DockMaterial::liquidClear);

    world.defaults.set("appearanceGlassTint", "Accent");
    EXPECT_EQ(load().glassTint(), GlassTint::none);
    world.defaults.set("appearanceGlassTint", "accent");
    EXPECT_EQ(load().glassTint(), GlassTint::accent);

    world.defaults.set("appearanceShowsLabels", "true");
    world.defaults.set("appearanceSpotlight", 1);
    const auto store = load();
    EXPECT_FALSE(store.showsLabels());
    EXPECT_FALSE(store.spotlightEnabled());
}

TEST_F(AppearanceStoreTest, LoadingWritesNothing) {
    world.defaults.set("appearanceTileSize", 120);
    world.defaults.set("appearanceMaterial", "liquid");
    world.defaults.resetWriteCounts();
    const auto store = load();
    EXPECT_EQ(store.tileSize(), 88);
    EXPECT_EQ(world.defaults.totalWrites(), 0);
    EXPECT_EQ(world.defaults.value("appearanceTileSize"), Json(120));
}

TEST_F(AppearanceStoreTest, EveryAssignmentCallsOnChangeButOnlyChangesAreSavedAndHeard) {
    auto store = load();
    int onChangeCalls = 0;
    int observed = 0;
    store.onChange = [&] { ++onChangeCalls; };
    const auto subscription = store.changed.connect([&] { ++observed; });

    store.setTileSize(70);
    store.setTileSize(70);
    EXPECT_EQ(world.defaults.writeCount("appearanceTileSize"), 1);
    EXPECT_EQ(onChangeCalls, 2);
    EXPECT_EQ(observed, 1);
    EXPECT_TRUE(world.defaults.value("appearanceTileSize")->is_number_float());

    // Assignments are stored as given; only the next load clamps them.
    store.setCornerRadius(99);
    EXPECT_EQ(store.cornerRadius(), 99);
    EXPECT_EQ(load().cornerRadius(), 30);

    store.setMaterial(DockMaterial::opaque);
    store.setGlassTint(GlassTint::accent);
    store.setShowsLabels(true);
    EXPECT_EQ(world.defaults.stringValue("appearanceMaterial"), "opaque");
    EXPECT_EQ(world.defaults.stringValue("appearanceGlassTint"), "accent");
    EXPECT_EQ(world.defaults.boolValue("appearanceShowsLabels"), true);
}

TEST_F(AppearanceStoreTest, ResetAssignsEachDefaultThroughItsSetter) {
    auto store = load();
    store.setVeilIntensity(0.2);
    world.defaults.resetWriteCounts();
    int onChangeCalls = 0;
    store.onChange = [&] { ++onChangeCalls; };

    store.resetToDefaults();

    EXPECT_EQ(onChangeCalls, 7);
    EXPECT_EQ(world.defaults.totalWrites(), 7);
    EXPECT_EQ(store.veilIntensity(), 0.35);
    EXPECT_EQ(store.material(), DockMaterial::ultraThin);
    EXPECT_EQ(world.defaults.doubleValue("appearanceCornerRadius"), 13);
}

TEST_F(AppearanceStoreTest, DisplayOptionNoticesAlwaysCallOnChange) {
    auto store = load();
    int onChangeCalls = 0;
    int observed = 0;
    store.onChange = [&] { ++onChangeCalls; };
    const auto subscription = store.changed.connect([&] { ++observed; });

    system.notify();  // another option changed, e.g. contrast
    EXPECT_EQ(onChangeCalls, 1);
    EXPECT_EQ(observed, 0);

    system.setReduceTransparency(true);
    system.notify();
    EXPECT_TRUE(store.reduceTransparency());
    EXPECT_EQ(onChangeCalls, 2);
    EXPECT_EQ(observed, 1);
    EXPECT_EQ(world.defaults.totalWrites(), 0);
}

TEST(DockMaterial, OfferedMaterialsFollowTheGlassCapability) {
    EXPECT_EQ(availableMaterials(false), (std::vector<DockMaterial>{DockMaterial::ultraThin, DockMaterial::regular,
                                                                    DockMaterial::thick, DockMaterial::opaque}));
    EXPECT_EQ(availableMaterials(true).size(), 6u);
    EXPECT_EQ(availableMaterials(true).front(), DockMaterial::liquidClear);
    EXPECT_EQ(caseNamed<DockMaterial>("ultraThin"), DockMaterial::ultraThin);
    EXPECT_EQ(caseNamed<DockMaterial>("UltraThin"), std::nullopt);
    EXPECT_EQ(label(DockMaterial::liquidClear), "Clear glass");
}
