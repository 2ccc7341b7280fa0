#include <gtest/gtest.h>
#include <unordered_set>

#include "DockModelSupport.h"
#include "core/model/HotKeyAction.h"
#include "core/model/HotKeyChord.h"

using namespace quillbern;

namespace {

constexpr KeyCode kA = 0;

}  // namespace

TEST(HotKeyChord, StoredFormNeedsBothMembersAsUnsigned32BitNumbers) {
    const HotKeyChord controlCommandA{kA, 4352};
    EXPECT_EQ(written(controlCommandA), R"({"keyCode":0,"modifiers":4352})");
    EXPECT_EQ(decodeJson<HotKeyChord>(Json{{"modifiers", 4352}, {"keyCode", 0}}).value(), controlCommandA);
    EXPECT_EQ(decodeJson<HotKeyChord>(Json{{"keyCode", 4294967295u}, {"modifiers", 4294967295u}}).value(),
              (HotKeyChord{4294967295u, 4294967295u}));

    for (const Json& damaged :
         {Json{{"keyCode", 0}}, Json{{"modifiers", 4352}}, Json{{"keyCode", 0}, {"modifiers", -1}},
          Json{{"keyCode", 4294967296u}, {"modifiers", 0}}, Json{{"keyCode", 0.5}, {"modifiers", 4352}},
          Json{{"keyCode", "0"}, {"modifiers", 0}}, Json{{"keyCode", nullptr}, {"modifiers", 0}},
          Json::array({0, 4352})}) {
        EXPECT_FALSE(decodeJson<HotKeyChord>(damaged).ok()) << damaged.dump();
    }
}

TEST(HotKeyChord, CountsOnlyTheFourModifiersButAnyBitKeepsChordsApart) {
    EXPECT_EQ((HotKeyChord{kA, 0x1100}.modifierCount()), 2);
    EXPECT_EQ((HotKeyChord{kA, 0}.modifierCount()), 0);
    EXPECT_EQ((HotKeyChord{kA, 0x1B00}.modifierCount()), 4);
    EXPECT_EQ((HotKeyChord{kA, 0x1500}.modifierCount()), 2) << "caps lock (0x0400) does not count";
    EXPECT_NE((HotKeyChord{kA, 0x1500}), (HotKeyChord{kA, 0x1100}));
    EXPECT_NE(std::hash<HotKeyChord>{}({kA, 0x1100}), std::hash<HotKeyChord>{}({0x1100, kA}));
}

TEST(HotKeyChord, AKeyPressMakesAChordOnlyWithCommandControlOrOption) {
    EXPECT_FALSE(HotKeyChord::fromKeyEvent(kA, 0));
    EXPECT_FALSE(HotKeyChord::fromKeyEvent(kA, kShiftFlag));
    EXPECT_EQ(HotKeyChord::fromKeyEvent(kA, kShiftFlag | kCommandFlag), (HotKeyChord{kA, 0x0300}));
    EXPECT_EQ(HotKeyChord::fromKeyEvent(kA, kControlFlag | kOptionFlag | kCommandFlag | kShiftFlag),
              (HotKeyChord{kA, 0x1B00}));
    EXPECT_EQ(HotKeyChord::fromKeyEvent(kA, kControlFlag), (HotKeyChord{kA, 0x1000}))
        << "a single modifier is a chord; the recorder decides whether it is enough";
    EXPECT_EQ(HotKeyChord::fromKeyEvent(kA, kOptionFlag | 0x10000 | 0x800000), (HotKeyChord{kA, 0x0800}))
        << "caps lock and the function key are ignored";
}

TEST(HotKeyAction, ProfileActionsAreEqualByDockAndUsableAsKeys) {
    std::unordered_set<HotKeyAction> actions(kFeatureOrder.begin(), kFeatureOrder.end());
    actions.insert(HotKeyAction::profile(seededUuid(1)));
    actions.insert(HotKeyAction::profile(seededUuid(1)));
    actions.insert(HotKeyAction::profile(seededUuid(2)));
    EXPECT_EQ(actions.size(), 9u);
    EXPECT_NE(HotKeyAction::profile(Uuid{}), HotKeyAction(HotKeyAction::Kind::overview));
    EXPECT_EQ(kFeatureOrder.front().kind(), HotKeyAction::Kind::overview);
    EXPECT_EQ(kFeatureOrder.back().kind(), HotKeyAction::Kind::peekDocks);
}
