#include "core/model/PinnedStore.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/model/DatedKey.h"
#include "core/model/ProfileKeys.h"
#include "core/model/ProfileRepair.h"
#include "core/model/SlotRule.h"
#include "core/model/StoredProfiles.h"

namespace quillbern {

PinnedStore::PinnedStore(Ports ports)
    : defaults_(ports.defaults),
      clock_(ports.clock),
      mainLoop_(ports.mainLoop),
      uuids_(ports.uuids),
      text_(ports.text),
      alerts_(ports.alerts),
      apps_(ports.apps),
      catalog_(ports.catalog),
      launcher_(ports.launcher),
      files_(ports.files),
      iconSource_(ports.icons) {
    recoveredFromUnreadableData_ = defaults_.boolValue(kRecoveredKey).value_or(false);
    load();
    refreshRunning();
    watchRunningApps();
}

void PinnedStore::load() {
    // The stored form the docks come from, kept whole if the load leaves out or changes
    // anything of it.
    const std::string_view sourceKey = defaults_.contains(kProfilesKey) ? kProfilesKey : kLegacyPinnedAppsKey;
    const std::optional<Json> source = defaults_.value(sourceKey);
    bool leavesOut = false;
    if (sourceKey == kProfilesKey) {
        leavesOut = loadStored(*source);
    } else {
        profiles_ = {defaultDock(legacyApps().value_or(std::vector<PinnedItem>{}))};
    }
    leavesOut = normalizeAfterLoad(profiles_, defaults_, clock_, uuids_) > 0 || leavesOut;
    if (leavesOut && source) keepDatedCopy(defaults_, clock_, sourceKey, kCorruptInfix, *source);
    save();
    if (defaults_.dataValue(kProfilesKey) && legacyApps()) defaults_.remove(kLegacyPinnedAppsKey);
}

bool PinnedStore::loadStored(const Json& stored) {
    // A value that is not data (a hand-edited file) is as unreadable as bad data.
    const auto data = Defaults::bytesFromJson(stored);
    auto decoded = data ? StoredProfiles::decode(*data) : DecodingError();
    if (!decoded || decoded.value().profiles.empty()) {
        profiles_ = {defaultDock({})};
        recoveredFromUnreadableData_ = true;
        defaults_.set(kRecoveredKey, true);
        return true;
    }
    // A renewed identifier or a name made one line changes what the save at the end of the
    // load writes.
    const bool renewed = renewRepeatedIds(decoded.value().profiles, uuids_);
    const bool renamed = makeNamesOneLine(decoded.value().profiles);
    profiles_ = std::move(decoded.value().profiles);
    return decoded.value().dropped > 0 || renewed || renamed;
}

std::optional<std::vector<PinnedItem>> PinnedStore::legacyApps() const {
    const auto data = defaults_.dataValue(kLegacyPinnedAppsKey);
    if (!data) return std::nullopt;
    const auto decoded = StoredProfiles::decodeLegacyApps(*data);
    if (!decoded) return std::nullopt;
    return std::vector<PinnedItem>(decoded.value().begin(), decoded.value().end());
}

Profile PinnedStore::defaultDock(std::vector<PinnedItem> items) {
    Profile dock;
    dock.id = uuids_.make();
    // TRANSLATORS: the name of the first dock, which the user may change; a new dock is "Dock 2".
    dock.name = tr("Main");
    dock.items = std::move(items);
    dock.isVisible = true;
    dock.isEnabled = true;
    dock.showsWindows = true;
    return dock;
}

void PinnedStore::save(bool keepUndo) {
    expectOnLoop(mainLoop_);
    if (!keepUndo) setUndoableRemoval(std::nullopt);
    const auto encoded = StoredProfiles::encode(profiles_);
    if (!encoded) {
        log("profiles encode failed, changes NOT saved — ", escapedForLog(encoded.error().message));
        return;
    }
    defaults_.setData(kProfilesKey, encoded.value());
}

void PinnedStore::call(const std::function<void()>& callback) {
    // A copy, so a callback may replace itself while it runs.
    if (const auto copy = callback) copy();
}

void PinnedStore::notifyLayoutChanged() {
    setDragSession(std::nullopt);
    call(onLayoutChange);
    call(onBindingsChange);
}

void PinnedStore::saveUndoableChange() {
    save(true);
    notifyLayoutChanged();
}

void PinnedStore::commitChange() {
    profilesChanged.emit();
    save();
}

void PinnedStore::commitPlacement(const Profile& changed) {
    if (changed.isEnabled && changed.isVisible) {
        bumpExactConflicts(profiles_, changed.edge, changed.display, changed.id);
    }
    commitChange();
    notifyLayoutChanged();
}

void PinnedStore::setDragSession(std::optional<DragSession> session) {
    expectOnLoop(mainLoop_);
    dragSession_ = std::move(session);
    dragSessionChanged.emit();
    call(onDragSessionChange);
}

void PinnedStore::acknowledgeRecovery() {
    expectOnLoop(mainLoop_);
    setRecoveredFromUnreadableData(false);
    defaults_.set(kRecoveredKey, false);
}

void PinnedStore::assignProfiles(std::vector<Profile> profiles) {
    if (profiles == profiles_) return;
    profiles_ = std::move(profiles);
    profilesChanged.emit();
}

void PinnedStore::setUndoableRemoval(std::optional<UndoableRemoval> removal) {
    undoableRemoval_ = std::move(removal);
    undoableRemovalChanged.emit();
}

void PinnedStore::setRecoveredFromUnreadableData(bool recovered) {
    if (recovered == recoveredFromUnreadableData_) return;
    recoveredFromUnreadableData_ = recovered;
    recoveredFromUnreadableDataChanged.emit();
}

const Profile* PinnedStore::findProfile(const Uuid& id) const {
    expectOnLoop(mainLoop_);
    const auto found = std::ranges::find(profiles_, id, &Profile::id);
    return found == profiles_.end() ? nullptr : &*found;
}

Profile* PinnedStore::find(const Uuid& id) {
    return const_cast<Profile*>(std::as_const(*this).findProfile(id));
}

}  // namespace quillbern
