#include <cstdio>
#include <gtest/gtest.h>

#include "core/shortcuts/HotKeyBindings.h"

using namespace quillbern;

namespace {

using Kind = HotKeyAction::Kind;

constexpr std::uint32_t kCC = HotKeyChord::kControlCommand;
constexpr HotKeyChord kDigit1{18, kCC};
constexpr HotKeyChord kDigit2{19, kCC};
constexpr HotKeyChord kChordA{0, kCC};
constexpr HotKeyChord kChordW{13, kCC};
constexpr HotKeyChord kChordP{35, kCC};

const HotKeyAction kOverview(Kind::overview);
const HotKeyAction kSearch(Kind::search);
const HotKeyAction kFiles(Kind::files);
const HotKeyAction kWorkspace(Kind::workspace);
const HotKeyAction kPeek(Kind::peekDocks);

Profile dock(int n, std::optional<HotKeyChord> chord = std::nullopt) {
    char id[37];
    std::snprintf(id, sizeof id, "AAAAAAAA-0000-4000-8000-%012X", n);
    Profile profile;
    profile.id = *Uuid::parse(id);
    profile.name = "Dock " + std::to_string(n);
    profile.chord = chord;
    return profile;
}

std::vector<Profile> docks(int count) {
    std::vector<Profile> out;
    for (int n = 1; n <= count; ++n)
        out.push_back(dock(n));
    return out;
}

// Where the action stands in the list, and its binding; none when it has no shortcut.
const HotKeyBinding* find(const std::vector<HotKeyBinding>& bindings, const HotKeyAction& action) {
    for (const HotKeyBinding& binding : bindings) {
        if (binding.action == action) return &binding;
    }
    return nullptr;
}

bool chordIsFree(const std::vector<HotKeyBinding>& bindings, const HotKeyChord& chord) {
    for (const HotKeyBinding& binding : bindings) {
        if (binding.chord == chord) return false;
    }
    return true;
}

}  // namespace

TEST(HotKeyBindings, WithoutDocksTheFeatureDefaultsInFeatureOrderAndPeekOnlyWhileDocksHide) {
    const std::vector<HotKeyBinding> expected{
        {kOverview, {0, kCC}, false, "All open apps"},
        {kSearch, {1, kCC}, false, "Search apps"},
        {kFiles, {31, kCC}, false, "Open a file"},
        {HotKeyAction(Kind::focusMode), {9, kCC}, false, "Focus mode"},
        {kWorkspace, {13, kCC}, false, "Workspace"},
        {HotKeyAction(Kind::cheatSheet), {40, kCC}, false, "Keyboard shortcuts"},
    };
    EXPECT_EQ(HotKeyBindings::resolve({}, {}, false), expected);
    std::vector<HotKeyBinding> withPeek = expected;
    withPeek.push_back({kPeek, kChordP, false, "Peek at all docks"});
    EXPECT_EQ(HotKeyBindings::resolve({}, {}, true), withPeek);
    EXPECT_EQ(HotKeyBindings::resolve({}, {}, true), HotKeyBindings::resolve({}, {}, true))
        << "equal inputs, equal lists: nothing to register again";
}

TEST(HotKeyBindings, DocksWithoutChordsTakeTheDigitOfTheirPositionFirstTenOnly) {
    const auto two = HotKeyBindings::resolve(docks(2), {}, false);
    ASSERT_EQ(two.size(), 8u);
    EXPECT_EQ(two[0], (HotKeyBinding{HotKeyAction::profile(dock(1).id), kDigit1, false, "Dock 1"}));
    EXPECT_EQ(two[1], (HotKeyBinding{HotKeyAction::profile(dock(2).id), kDigit2, false, "Dock 2"}));
    EXPECT_EQ(two[2].action, kOverview);

    const auto eleven = HotKeyBindings::resolve(docks(11), {}, false);
    ASSERT_EQ(eleven.size(), 16u);
    const KeyCode digits[] = {18, 19, 20, 21, 23, 22, 26, 28, 25, 29};  // 1 to 9, then 0
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(eleven[i].action, HotKeyAction::profile(dock(i + 1).id));
        EXPECT_EQ(eleven[i].chord, (HotKeyChord{digits[i], kCC}));
    }
    EXPECT_FALSE(find(eleven, HotKeyAction::profile(dock(11).id)));
}

TEST(HotKeyBindings, FirstClaimWinsAcrossTheFourPasses) {
    // A dock's own chord beats the digit of an earlier dock, which never moves to another digit.
    std::vector<Profile> list{dock(1), dock(2, kDigit1)};
    auto bindings = HotKeyBindings::resolve(list, {}, false);
    EXPECT_EQ(bindings[0], (HotKeyBinding{HotKeyAction::profile(dock(2).id), kDigit1, true, "Dock 2"}));
    EXPECT_FALSE(find(bindings, HotKeyAction::profile(dock(1).id)));
    EXPECT_TRUE(chordIsFree(bindings, kDigit2));

    // Between two docks with the same chord, the earlier one.
    bindings = HotKeyBindings::resolve({dock(1, kChordW), dock(2, kChordW)}, {}, false);
    EXPECT_EQ(find(bindings, HotKeyAction::profile(dock(1).id))->chord, kChordW);
    EXPECT_FALSE(find(bindings, HotKeyAction::profile(dock(2).id)));
    EXPECT_FALSE(find(bindings, kWorkspace)) << "a dock's chord beats a feature default";

    // An override beats a dock's digit.
    bindings = HotKeyBindings::resolve(docks(1), {{kSearch, kDigit1}}, false);
    EXPECT_EQ(*find(bindings, kSearch), (HotKeyBinding{kSearch, kDigit1, true, "Search apps"}));
    EXPECT_FALSE(find(bindings, HotKeyAction::profile(dock(1).id)));

    // A dock's own chord beats a feature default.
    bindings = HotKeyBindings::resolve({dock(1, kChordA)}, {}, false);
    EXPECT_EQ(find(bindings, HotKeyAction::profile(dock(1).id))->chord, kChordA);
    EXPECT_FALSE(find(bindings, kOverview));

    // Between two overrides, the earlier feature; the loser does not fall back to its default.
    bindings = HotKeyBindings::resolve({}, {{kWorkspace, kDigit2}, {kFiles, kDigit2}}, false);
    EXPECT_EQ(find(bindings, kFiles)->chord, kDigit2);
    EXPECT_FALSE(find(bindings, kWorkspace));
    EXPECT_TRUE(chordIsFree(bindings, kChordW));

    // An override that lost its chord to a dock leaves its feature without a shortcut.
    bindings = HotKeyBindings::resolve({dock(1, kChordW)}, {{kOverview, kChordW}}, false);
    EXPECT_FALSE(find(bindings, kOverview));
    EXPECT_TRUE(chordIsFree(bindings, kChordA));

    // The order of the result is the order of acceptance.
    bindings = HotKeyBindings::resolve({dock(1), dock(2, kChordW)}, {{kSearch, kChordA}}, false);
    std::vector<HotKeyAction> order;
    for (const HotKeyBinding& binding : bindings)
        order.push_back(binding.action);
    const std::vector<HotKeyAction> expected{HotKeyAction::profile(dock(2).id), kSearch,
                                             HotKeyAction::profile(dock(1).id), kFiles,
                                             HotKeyAction(Kind::focusMode),     HotKeyAction(Kind::cheatSheet)};
    EXPECT_EQ(order, expected) << "overview lost Ctrl+Super+A to search's override, workspace Ctrl+Super+W to dock 2";
}

TEST(HotKeyBindings, PeekOverrideCountsOnlyWhileDocksHideAndDockOverridesAreIgnored) {
    auto bindings = HotKeyBindings::resolve({}, {{kPeek, kChordW}}, false);
    EXPECT_FALSE(find(bindings, kPeek));
    EXPECT_TRUE(chordIsFree(bindings, kChordP));
    EXPECT_EQ(find(bindings, kWorkspace)->chord, kChordW) << "the unused override claims nothing";

    bindings = HotKeyBindings::resolve({}, {{kPeek, kDigit1}}, true);
    EXPECT_EQ(*find(bindings, kPeek), (HotKeyBinding{kPeek, kDigit1, true, "Peek at all docks"}));
    EXPECT_EQ(bindings.front().action, kPeek) << "an override comes before every default";

    bindings = HotKeyBindings::resolve(docks(1), {{HotKeyAction::profile(dock(1).id), kChordW}}, false);
    EXPECT_EQ(find(bindings, HotKeyAction::profile(dock(1).id))->chord, kDigit1);
    EXPECT_EQ(find(bindings, kWorkspace)->chord, kChordW);
}

TEST(HotKeyBindings, ClaimedMapLeavesOutTheActionBeingRecorded) {
    const auto claimed = HotKeyBindings::claimedMap(docks(1), {}, kSearch, false);
    EXPECT_FALSE(claimed.contains({1, kCC})) << "recording Ctrl+Super+S again for search finds it free";
    EXPECT_EQ(claimed.at(kChordA), "All open apps");
    EXPECT_EQ(claimed.at(kDigit1), "Dock 1");
    EXPECT_EQ(claimed.size(), 6u);
    EXPECT_FALSE(HotKeyBindings::claimedMap(docks(1), {}, HotKeyAction::profile(dock(1).id), true).contains(kDigit1));
    EXPECT_TRUE(HotKeyBindings::claimedMap(docks(1), {}, kSearch, true).contains(kChordP));
}
