#include <gtest/gtest.h>

#include "core/shell/LegacyDefaultsMigration.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

class Migration : public ::testing::Test {
protected:
    SimWorld world;
    int reads = 0;

    void run(std::optional<Json> former) {
        LegacyDefaultsMigration::runIfNeeded(world.defaults, [&] {
            ++reads;
            return former;
        });
    }
    std::optional<bool> flag(const char* key) const { return world.defaults.boolValue(key); }
};

TEST_F(Migration, CopiesWhatIsMissingKeepsWhatIsThereAndLogsTheCount) {
    world.defaults.set("dockAutoHide", false);
    run(Json{{"dockAutoHide", true},
             {"dockRevealDelay", 0.4},
             {"profiles.v1", Json{{"$data", "W10="}}},
             {"appearanceTileSize", 70}});
    EXPECT_EQ(world.defaults.boolValue("dockAutoHide"), false) << "the current value stays";
    EXPECT_EQ(world.defaults.doubleValue("dockRevealDelay"), 0.4);
    EXPECT_EQ(world.defaults.dataValue("profiles.v1"), Bytes({'[', ']'})) << "copied as stored";
    EXPECT_EQ(world.defaults.intValue("appearanceTileSize"), 70);
    EXPECT_EQ(flag(LegacyDefaultsMigration::kAdoptedKey), true);
    EXPECT_EQ(flag(LegacyDefaultsMigration::kMigratedKey), true);
    EXPECT_TRUE(world.log.contains("Quillbern: migrated 3 preference keys from com.alderpine.app"));
}

TEST_F(Migration, RecordsOfPermissionPromptsAreNeverTakenOver) {
    run(Json{{"screenRecordingPrompted", true}, {"axPromptedWhileRevoked", true}});
    EXPECT_FALSE(world.defaults.contains("screenRecordingPrompted"));
    EXPECT_FALSE(world.defaults.contains("axPromptedWhileRevoked"));
    EXPECT_FALSE(flag(LegacyDefaultsMigration::kAdoptedKey));
    EXPECT_EQ(flag(LegacyDefaultsMigration::kMigratedKey), true);
    EXPECT_FALSE(world.log.contains("migrated"));
}

TEST_F(Migration, RunsOnceAndNeverReadsTheFormerSettingsAgain) {
    run(std::nullopt);
    EXPECT_EQ(flag(LegacyDefaultsMigration::kMigratedKey), true);
    EXPECT_FALSE(flag(LegacyDefaultsMigration::kAdoptedKey));
    run(Json{{"dockAutoHide", true}});
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(world.defaults.contains("dockAutoHide"));
}

TEST_F(Migration, EmptyFormerSettingsOnlySetTheFlag) {
    run(Json::object());
    EXPECT_EQ(world.defaults.keys(), std::vector<std::string>{LegacyDefaultsMigration::kMigratedKey});
}

}  // namespace
}  // namespace quillbern
