#include <gtest/gtest.h>
#include <thread>

#include "core/model/DockPreferences.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

using Kind = HotKeyAction::Kind;
constexpr HotKeyChord kChordA{0, 0x1100};
constexpr HotKeyChord kChordV{9, 0x1100};

struct DockPreferencesTest : testing::Test {
    SimWorld world;

    DockPreferences load() { return DockPreferences(world.defaults, world.clock, world.mainLoop); }
    void storeOverridesText(const std::string& text) {
        world.defaults.setData("hotkeyOverrides.v1", Bytes(text.begin(), text.end()));
    }
    std::vector<std::string> corruptCopies() {
        std::vector<std::string> keys;
        for (const std::string& key : world.defaults.keys()) {
            if (key.starts_with("hotkeyOverrides.v1.corrupt.")) keys.push_back(key);
        }
        return keys;
    }
    std::string storedOverridesText() {
        const auto data = world.defaults.dataValue("hotkeyOverrides.v1");
        return data ? std::string(data->begin(), data->end()) : std::string();
    }
};

}  // namespace

TEST_F(DockPreferencesTest, DefaultsWithNothingStored) {
    const auto prefs = load();
    EXPECT_TRUE(prefs.autoHide());
    EXPECT_TRUE(prefs.launchBeacon());
    EXPECT_DOUBLE_EQ(prefs.revealDelay(), 0.36);
    EXPECT_EQ(prefs.knockTempo(), DockPreferences::KnockTempo::standard);
    EXPECT_TRUE(prefs.hotkeysEnabled());
    EXPECT_EQ(prefs.workspaceMaxApps(), 6);
    EXPECT_TRUE(prefs.hotkeyOverrides().empty());
    EXPECT_EQ(prefs.languageOverride(), std::nullopt);
    EXPECT_EQ(world.defaults.totalWrites(), 0) << "construction writes nothing back";
}

TEST_F(DockPreferencesTest, StoredValuesAreSnappedAndClampedAtLoadOnly) {
    const std::pair<Json, double> delays[] = {{0.3, 0.36},   {0.5, 0.48}, {0.9, 0.72}, {0.1, 0.24},
                                              {"0.5", 0.36}, {-1, 0.24},  {0.6, 0.6}};
    for (const auto& [stored, expected] : delays) {
        world.defaults.set("dockRevealDelay", stored);
        EXPECT_NEAR(load().revealDelay(), expected, 1e-12) << stored;
    }
    world.defaults.set("dockRevealDelay", 0.5);
    world.defaults.set("workspaceMaxApps", 1);
    EXPECT_EQ(load().workspaceMaxApps(), 2);
    world.defaults.set("workspaceMaxApps", 25);
    EXPECT_EQ(load().workspaceMaxApps(), 10);
    world.defaults.set("workspaceMaxApps", 4.0);
    EXPECT_EQ(load().workspaceMaxApps(), 6) << "not an integer";
    world.defaults.set("dockKnockTempo", "Brisk");
    EXPECT_EQ(load().knockTempo(), DockPreferences::KnockTempo::standard);
    world.defaults.set("dockKnockTempo", "relaxed");
    EXPECT_EQ(load().knockTempo(), DockPreferences::KnockTempo::relaxed);
    world.defaults.set("dockAutoHide", "no");
    EXPECT_TRUE(load().autoHide()) << "only a Boolean is read";
    EXPECT_EQ(world.defaults.doubleValue("dockRevealDelay"), 0.5) << "the stored value stays until assigned";
}

TEST_F(DockPreferencesTest, AssignmentsAlwaysWriteButNotifyOnlyChanges) {
    auto prefs = load();
    int changes = 0;
    const auto subscription = prefs.changed.connect([&] { ++changes; });
    prefs.setAutoHide(true);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(world.defaults.writeCount("dockAutoHide"), 1);
    prefs.setRevealDelay(0.5);  // not snapped when assigned
    EXPECT_EQ(prefs.revealDelay(), 0.5);
    EXPECT_TRUE(world.defaults.value("dockRevealDelay")->is_number_float());
    prefs.setWorkspaceMaxApps(12);
    EXPECT_TRUE(world.defaults.value("workspaceMaxApps")->is_number_integer());
    prefs.setKnockTempo(DockPreferences::KnockTempo::brisk);
    EXPECT_EQ(world.defaults.stringValue("dockKnockTempo"), "brisk");
    EXPECT_EQ(changes, 3);
}

// Anyone may write the settings file: gettext copied a 10 MB language onto the stack, read
// catalogues from a path and slowed to a crawl on a long list.
TEST_F(DockPreferencesTest, AStoredLanguageCountsOnlyAsACodeOfThePicker) {
    std::string unknown;
    for (int i = 0; i < 15000; ++i)
        unknown += "x" + std::to_string(i) + ":";
    for (const std::string& stored :
         {std::string(10 << 20, 'x'), std::string("../../../../tmp/x"), unknown, std::string("\x1b[31mde")}) {
        EXPECT_EQ(DockPreferences::storedLanguage(Json{{"quillbernLanguage", stored}}), std::nullopt);
        world.defaults.set("quillbernLanguage", stored);
        EXPECT_EQ(load().languageOverride(), std::nullopt);
    }
    EXPECT_EQ(world.log.count("is none that Quillbern speaks"), 4) << "once each";
    EXPECT_TRUE(world.log.contains("\"\\x1b[31mde\""));
    EXPECT_EQ(DockPreferences::storedLanguage(Json{{"quillbernLanguage", "zh-Hans"}}), "zh-Hans");
}

TEST_F(DockPreferencesTest, LanguageStoresBothKeysOrRemovesBoth) {
    world.defaults.set("quillbernLanguage", "fr");
    auto prefs = load();
    EXPECT_EQ(prefs.languageAtLaunch(), "fr");
    prefs.setLanguageOverride("de");
    EXPECT_EQ(world.defaults.stringValue("quillbernLanguage"), "de");
    EXPECT_EQ(world.defaults.value("AppleLanguages"), Json::array({"de"}));
    EXPECT_EQ(prefs.languageAtLaunch(), "fr") << "fixed for the run";
    prefs.setLanguageOverride(std::nullopt);
    EXPECT_FALSE(world.defaults.contains("quillbernLanguage"));
    EXPECT_FALSE(world.defaults.contains("AppleLanguages"));
}

TEST_F(DockPreferencesTest, OverridesAreStoredByFeatureKeyAndAlwaysCallBack) {
    auto prefs = load();
    int callbacks = 0;
    prefs.onOverridesChange = [&] { ++callbacks; };

    prefs.setOverride(HotKeyAction(Kind::focusMode), kChordV);
    EXPECT_EQ(storedOverridesText(), R"({"focus":{"keyCode":9,"modifiers":4352}})");
    prefs.setOverride(HotKeyAction::profile(world.uuids.make()), kChordA);
    EXPECT_EQ(prefs.hotkeyOverrides().size(), 2u);
    EXPECT_EQ(storedOverridesText(), R"({"focus":{"keyCode":9,"modifiers":4352}})") << "dock actions are not stored";
    world.defaults.resetWriteCounts();
    prefs.setOverride(HotKeyAction(Kind::overview), std::nullopt);
    EXPECT_EQ(world.defaults.writeCount("hotkeyOverrides.v1"), 0) << "nothing changed, nothing saved";
    EXPECT_EQ(callbacks, 3);

    EXPECT_EQ(DockPreferences::loadOverrides(world.defaults),
              (HotKeyOverrides{{HotKeyAction(Kind::focusMode), kChordV}}));

    prefs.clearOverrides();
    EXPECT_FALSE(world.defaults.contains("hotkeyOverrides.v1"));
    EXPECT_EQ(callbacks, 4);
    prefs.clearOverrides();
    EXPECT_EQ(callbacks, 4) << "nothing to clear: no callback";
}

TEST_F(DockPreferencesTest, UnreadableOverridesAreDroppedOneByOneAndTheBytesKept) {
    const std::string stored =
        R"({"overview":{"keyCode":0,"modifiers":4352},"search":{"keyCode":1},"dock":{"keyCode":2,"modifiers":1}})";
    storeOverridesText(stored);
    const auto prefs = load();
    EXPECT_EQ(prefs.hotkeyOverrides(), (HotKeyOverrides{{HotKeyAction(Kind::overview), kChordA}}))
        << "the chord without modifiers is dropped, the unknown member skipped";
    const auto copy = world.defaults.dataValue("hotkeyOverrides.v1.corrupt.1800000000");
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(std::string(copy->begin(), copy->end()), stored);
    EXPECT_TRUE(world.log.contains("hotkeyOverrides.v1.corrupt.1800000000"));

    // The damage stays stored, and every later start keeps to the one copy of it; other
    // damage gets a copy of its own.
    world.advance(5);
    load();
    EXPECT_EQ(corruptCopies(), std::vector<std::string>{"hotkeyOverrides.v1.corrupt.1800000000"});
    world.log.clear();
    load();
    EXPECT_TRUE(world.log.contains("hotkeyOverrides.v1.corrupt.1800000000"));
    storeOverridesText(R"({"overview":{"keyCode":0}})");
    load();
    EXPECT_EQ(corruptCopies(), (std::vector<std::string>{"hotkeyOverrides.v1.corrupt.1800000000",
                                                         "hotkeyOverrides.v1.corrupt.1800000005"}));

    // Readable overrides make no copy.
    world.defaults.remove("hotkeyOverrides.v1.corrupt.1800000000");
    world.defaults.remove("hotkeyOverrides.v1.corrupt.1800000005");
    storeOverridesText(R"({"peek":{"keyCode":35,"modifiers":4352}})");
    EXPECT_EQ(load().hotkeyOverrides().size(), 1u);
    EXPECT_TRUE(corruptCopies().empty());

    storeOverridesText("not json");
    EXPECT_TRUE(load().hotkeyOverrides().empty());
    EXPECT_TRUE(world.defaults.contains("hotkeyOverrides.v1.corrupt.1800000005"));
}

TEST_F(DockPreferencesTest, AnAssignmentFromAnotherThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto prefs = load();
    EXPECT_DEATH(std::thread([&] { prefs.setAutoHide(false); }).join(), "setAutoHide|assign");
    prefs.setAutoHide(false);
    EXPECT_FALSE(prefs.autoHide());
#endif
}

TEST_F(DockPreferencesTest, OverridesOfActionsThisVersionDoesNotKnowAreKeptBeforeAChangeDropsThem) {
    const std::string stored = R"({"peek":{"keyCode":35,"modifiers":4352},"dock":{"keyCode":2,"modifiers":1}})";
    storeOverridesText(stored);
    auto prefs = load();
    EXPECT_EQ(prefs.hotkeyOverrides().size(), 1u);
    ASSERT_EQ(corruptCopies(), std::vector<std::string>{"hotkeyOverrides.v1.corrupt.1800000000"});
    const auto copy = world.defaults.dataValue(corruptCopies()[0]);
    EXPECT_EQ(std::string(copy->begin(), copy->end()), stored);

    load();
    EXPECT_EQ(corruptCopies().size(), 1u) << "one copy for the same bytes";
    prefs.setOverride(HotKeyAction(Kind::search), kChordA);
    EXPECT_EQ(storedOverridesText().find("dock"), std::string::npos);
    EXPECT_EQ(world.defaults.dataValue(corruptCopies()[0]), copy);
}
