#include "core/model/ProfileRepair.h"

#include <algorithm>
#include <set>

#include "core/model/DatedKey.h"
#include "core/model/DockName.h"
#include "core/model/PinnedItemList.h"
#include "core/model/ProfileKeys.h"
#include "core/model/SlotRule.h"
#include "core/model/StoredProfiles.h"

namespace quillbern {

namespace {

void cutToLimit(std::vector<Profile>& profiles, Defaults& defaults, const Clock& clock) {
    if (profiles.size() <= kMaxProfiles) return;
    if (const auto whole = StoredProfiles::encode(profiles)) {
        keepDatedCopy(defaults, clock, kProfilesKey, kOverflowInfix, Defaults::dataJson(whole.value()));
    }
    profiles.resize(kMaxProfiles);
}

// Older stores had one current dock and the others hidden; make sure one dock shows.
void migrateToMultidock(std::vector<Profile>& profiles, Defaults& defaults) {
    if (defaults.boolValue(kMultidockMigratedKey).value_or(false)) return;
    const bool anyVisible = std::ranges::any_of(profiles, &Profile::isVisible);
    if (!anyVisible && !profiles.empty()) {
        const auto active = Uuid::parse(defaults.stringValue(kLegacyActiveProfileKey).value_or(""));
        auto target = std::ranges::find_if(profiles, [&active](const Profile& p) { return active && p.id == *active; });
        if (target == profiles.end()) target = profiles.begin();
        target->isVisible = true;
        target->edge = DockEdge::bottom;
        target->showsWindows = true;
        for (Profile& profile : profiles)
            profile.isEnabled = true;
    }
    defaults.set(kMultidockMigratedKey, true);
    defaults.remove(kLegacyActiveProfileKey);
}

void flattenAllFolders(std::vector<Profile>& profiles, Defaults& defaults) {
    const bool anyFolder = std::ranges::any_of(profiles, [](const Profile& profile) {
        return std::ranges::any_of(profile.items, [](const PinnedItem& item) { return item.folder() != nullptr; });
    });
    if (!anyFolder) return;
    if (!defaults.dataValue(kFoldersBackupKey)) {
        if (const auto whole = StoredProfiles::encode(profiles)) defaults.setData(kFoldersBackupKey, whole.value());
    }
    for (Profile& profile : profiles)
        flattenFolders(profile.items);
}

}  // namespace

bool makeNamesOneLine(std::vector<Profile>& profiles) {
    bool changed = false;
    for (Profile& profile : profiles) {
        std::string oneLine = oneLineName(profile.name);
        if (oneLine == profile.name) continue;
        profile.name = std::move(oneLine);
        changed = true;
    }
    return changed;
}

bool renewRepeatedIds(std::vector<Profile>& profiles, UuidSource& uuids) {
    std::set<Uuid> seen;
    bool renewed = false;
    for (Profile& profile : profiles) {
        if (seen.insert(profile.id).second) continue;
        // A fresh identifier could still be one a later dock holds.
        do {
            profile.id = uuids.make();
        } while (std::ranges::any_of(
            profiles, [&profile](const Profile& other) { return &other != &profile && other.id == profile.id; }));
        seen.insert(profile.id);
        renewed = true;
    }
    return renewed;
}

std::size_t normalizeAfterLoad(std::vector<Profile>& profiles, Defaults& defaults, const Clock& clock,
                               UuidSource& uuids) {
    cutToLimit(profiles, defaults, clock);
    migrateToMultidock(profiles, defaults);
    flattenAllFolders(profiles, defaults);
    std::size_t lost = 0;
    for (Profile& profile : profiles) {
        SeenIdentifiers seen;
        lost += dedupeItems(profile.items, seen, uuids);
    }
    limitVisibleDocksPerSlot(profiles);
    return lost;
}

}  // namespace quillbern
