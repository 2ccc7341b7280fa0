#include <algorithm>
#include <charconv>
#include <cstdint>

#include "core/foundation/Localization.h"
#include "core/foundation/Utf8.h"
#include "core/model/DockName.h"
#include "core/model/PinnedStore.h"
#include "core/model/ProfileRepair.h"

namespace quillbern {

namespace {

// A decimal integer with an optional sign, digits only, in range; nothing else.
std::optional<std::int64_t> decimalInteger(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Profile> PinnedStore::profile(const Uuid& id) const {
    const Profile* dock = findProfile(id);
    return dock ? std::optional<Profile>(*dock) : std::nullopt;
}

std::optional<Profile> PinnedStore::resolveProfile(std::string_view text) const {
    if (const auto id = Uuid::parse(text)) return profile(*id);
    const auto position = decimalInteger(text);
    if (position && *position >= 1 && static_cast<std::uint64_t>(*position) <= profiles_.size()) {
        return profiles_[static_cast<std::size_t>(*position - 1)];
    }
    const auto named = std::ranges::find_if(
        profiles_, [this, text](const Profile& p) { return text_.equalsIgnoringCase(p.name, text); });
    if (named == profiles_.end()) return std::nullopt;
    return *named;
}

bool PinnedStore::setVisible(const Uuid& id, bool visible) {
    Profile* dock = find(id);
    if (!dock) return false;
    if (dock->isVisible == visible) return true;
    if (visible && !dock->isEnabled) return false;
    dock->isVisible = visible;
    commitPlacement(*dock);
    return true;
}

void PinnedStore::toggleVisibility(const Uuid& id) {
    const Profile* dock = find(id);
    if (!dock) return;
    if (!dock->isEnabled) {
        alerts_.beep();
        return;
    }
    setVisible(id, !dock->isVisible);
}

void PinnedStore::setEnabled(const Uuid& id, bool enabled) {
    Profile* dock = find(id);
    if (!dock || dock->isEnabled == enabled) return;
    dock->isEnabled = enabled;
    commitPlacement(*dock);
}

void PinnedStore::setEdge(const Uuid& id, DockEdge edge) {
    Profile* dock = find(id);
    if (!dock || dock->edge == edge) return;
    dock->edge = edge;
    commitPlacement(*dock);
}

void PinnedStore::setDisplay(const Uuid& id, const DisplayAssignment& display) {
    Profile* dock = find(id);
    if (!dock || dock->display == display) return;
    if (!isValidUtf8(display.stableID()) || !isValidUtf8(display.name())) return;
    dock->display = display;
    commitPlacement(*dock);
}

void PinnedStore::setShowsWindows(const Uuid& id, bool shows) {
    Profile* dock = find(id);
    if (!dock || dock->showsWindows == shows) return;
    dock->showsWindows = shows;
    commitChange();
}

void PinnedStore::setRevealMode(const Uuid& id, RevealMode mode) {
    Profile* dock = find(id);
    if (!dock || dock->revealMode == mode) return;
    dock->revealMode = mode;
    commitChange();
}

void PinnedStore::setAlignment(const Uuid& id, DockAlignment alignment) {
    Profile* dock = find(id);
    if (!dock || dock->alignment == alignment) return;
    dock->alignment = alignment;
    commitChange();
    call(onContentChange);
}

void PinnedStore::setChord(const Uuid& id, std::optional<HotKeyChord> chord) {
    Profile* dock = find(id);
    if (!dock || dock->chord == chord) return;
    dock->chord = chord;
    commitChange();
    call(onBindingsChange);
}

void PinnedStore::clearAllChords() {
    if (std::ranges::none_of(profiles_, [](const Profile& p) { return p.chord.has_value(); })) return;
    for (Profile& dock : profiles_)
        dock.chord.reset();
    commitChange();
    call(onBindingsChange);
}

std::optional<Uuid> PinnedStore::addProfile(const std::string& name) {
    if (profiles_.size() >= kMaxProfiles || !isValidUtf8(name)) return std::nullopt;
    const auto freeEdge = firstFreeEdge();
    Profile dock;
    dock.id = uuids_.make();
    dock.name = oneLineName(name);
    dock.edge = freeEdge.value_or(DockEdge::bottom);
    dock.isVisible = freeEdge.has_value();
    dock.isEnabled = true;
    profiles_.push_back(dock);
    commitChange();
    notifyLayoutChanged();
    return dock.id;
}

std::optional<DockEdge> PinnedStore::firstFreeEdge() const {
    for (const DockEdge edge : kAllDockEdges) {
        const bool taken = std::ranges::any_of(profiles_, [edge](const Profile& p) {
            return p.isVisible && p.isEnabled && p.display.isAll() && p.edge == edge;
        });
        if (!taken) return edge;
    }
    return std::nullopt;
}

std::string PinnedStore::nextDefaultProfileName() const {
    for (long long n = 1;; ++n) {
        // TRANSLATORS: the name a new dock gets, numbered (not a count): "Dock 2".
        std::string candidate = trf("Dock %lld", n);
        if (std::ranges::find(profiles_, candidate, &Profile::name) == profiles_.end()) return candidate;
    }
}

bool PinnedStore::renameProfile(const Uuid& id, std::string_view name) {
    if (!isValidUtf8(name)) return false;
    std::string trimmed = text_.trimmingHorizontalSpace(oneLineName(name));
    if (trimmed.empty()) return false;
    Profile* dock = find(id);
    if (!dock || dock->name == trimmed) return true;
    dock->name = std::move(trimmed);
    commitChange();
    return true;
}

void PinnedStore::moveProfile(const Uuid& id, const Uuid& targetID) {
    if (id == targetID) return;
    Profile* from = find(id);
    Profile* to = find(targetID);
    if (!from || !to) return;
    // The docks in between shift by one towards where the moving one stood.
    if (from < to) {
        std::rotate(from, from + 1, to + 1);
    } else {
        std::rotate(to, from, from + 1);
    }
    commitChange();
    call(onContentChange);
    call(onBindingsChange);
}

void PinnedStore::deleteOrResetProfile(const Uuid& id) {
    Profile* found = find(id);
    if (!found) return;
    std::vector<Profile> snapshot = profiles_;
    const std::string formerName = found->name;
    if (profiles_.size() >= 2) {
        profiles_.erase(profiles_.begin() + (found - profiles_.data()));
    } else {
        Profile reset = *found;
        reset.name = tr("Main");
        reset.items.clear();
        reset.isVisible = true;
        reset.isEnabled = true;
        reset.showsWindows = true;
        reset.revealMode = RevealMode::hover;
        reset.chord.reset();
        if (reset == *found) return;
        *found = std::move(reset);
    }
    profilesChanged.emit();
    setUndoableRemoval(UndoableRemoval{trf("Restore “%@”", nameInText(formerName)), std::move(snapshot)});
    saveUndoableChange();
}

void PinnedStore::undoLastRemoval() {
    if (!undoableRemoval_) return;
    std::vector<Profile> restored = std::move(undoableRemoval_->profiles);
    setUndoableRemoval(std::nullopt);
    assignProfiles(std::move(restored));
    saveUndoableChange();
}

void PinnedStore::dismissUndoableRemoval() {
    expectOnLoop(mainLoop_);
    if (undoableRemoval_) setUndoableRemoval(std::nullopt);
}

}  // namespace quillbern
