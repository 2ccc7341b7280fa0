#include "core/settings/ProfileDetailModel.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Localization.h"
#include "core/settings/DocksPaneModel.h"
#include "core/settings/ShortcutRecording.h"
#include "core/shortcuts/HotKeyBindings.h"

namespace quillbern {

namespace {

std::string alignmentSymbol(DockAlignment alignment, DockEdge edge) {
    const bool vertical = edge == DockEdge::left || edge == DockEdge::right;
    switch (alignment) {
        case DockAlignment::leading:
            return vertical ? "align.vertical.top" : "align.horizontal.left";
        case DockAlignment::center:
            return vertical ? "align.vertical.center" : "align.horizontal.center";
        case DockAlignment::trailing:
            return vertical ? "align.vertical.bottom" : "align.horizontal.right";
    }
    return {};
}

}  // namespace

ProfileDetailModel::ProfileDetailModel(Inputs inputs, const Uuid& profileID)
    : pinned_(inputs.pinned),
      preferences_(inputs.preferences),
      chordText_(inputs.chordText),
      screens_(inputs.screens),
      mainLoop_(inputs.mainLoop),
      threads_(inputs.threads),
      installedApps_(std::move(inputs.installedApps)),
      profileID_(profileID),
      live_(std::move(inputs.registeredChords), inputs.mainLoop),
      dockIDs_(dockIDs(pinned_.profiles())),
      hotkeysEnabled_(preferences_.hotkeysEnabled()) {
    subscriptions_.push_back(live_.changed.connect([this] { changed.emit(); }));
    subscriptions_.push_back(pinned_.profilesChanged.connect([this] { storesChanged(); }));
    subscriptions_.push_back(preferences_.changed.connect([this] { storesChanged(); }));
    subscriptions_.push_back(screens_.onChanged([this] {
        ++screenTick_;
        changed.emit();
    }));
}

ProfileDetailModel::~ProfileDetailModel() {
    scanToken_.cancel();
}

void ProfileDetailModel::setProfileID(const Uuid& id) {
    if (id == profileID_) return;
    profileID_ = id;
    nameNote_.reset();
    if (onScreen_) startScan();
    changed.emit();
}

void ProfileDetailModel::rename(const Uuid& dock, const std::string& name) {
    std::optional<SettingsNote> note;
    if (!pinned_.renameProfile(dock, name) && pinned_.findProfile(dock))
        note = SettingsNote{trf("A dock needs a name — it keeps “%@”.", nameOf(dock)), SettingsNoteStyle::error};
    if (note == nameNote_) return;
    nameNote_ = std::move(note);
    changed.emit();
}

std::string ProfileDetailModel::nameOf(const Uuid& dock) const {
    const Profile* found = pinned_.findProfile(dock);
    return found ? found->name : std::string();
}

void ProfileDetailModel::setEnabled(bool on) {
    pinned_.setEnabled(profileID_, on);
}

void ProfileDetailModel::setEdge(DockEdge edge) {
    pinned_.setEdge(profileID_, edge);
}

void ProfileDetailModel::setAlignment(DockAlignment alignment) {
    pinned_.setAlignment(profileID_, alignment);
}

void ProfileDetailModel::setShowsWindows(bool on) {
    pinned_.setShowsWindows(profileID_, on);
}

void ProfileDetailModel::setRevealMode(RevealMode mode) {
    pinned_.setRevealMode(profileID_, mode);
}

void ProfileDetailModel::appeared() {
    onScreen_ = true;
    live_.readNow();
    startScan();
}

void ProfileDetailModel::disappeared() {
    onScreen_ = false;
    scanToken_.cancel();
}

void ProfileDetailModel::startScan() {
    scanToken_.cancel();
    scanToken_ = CancelToken();
    // The list moves to the main loop without a copy; the pane may be gone by then.
    installedApps_->scanInBackground(threads_, [&loop = mainLoop_, token = scanToken_, alive = lifetime_.token(),
                                                this](std::vector<InstalledApp> apps) {
        loop.post([token, alive, this, apps = std::move(apps)]() mutable {
            if (token.isCancelled() || !alive.isAlive()) return;
            installed_ = std::move(apps);
            hasScanned_ = true;
            changed.emit();
        });
    });
}

void ProfileDetailModel::storesChanged() {
    std::vector<Uuid> ids = dockIDs(pinned_.profiles());
    const bool enabled = preferences_.hotkeysEnabled();
    if (ids != dockIDs_ || enabled != hotkeysEnabled_) live_.readSoon();
    dockIDs_ = std::move(ids);
    hotkeysEnabled_ = enabled;
    changed.emit();
}

std::optional<HotKeyChord> ProfileDetailModel::resolvedChord() const {
    const Profile* dock = profile();
    if (!dock) return std::nullopt;
    if (dock->chord) return dock->chord;
    const auto& docks = pinned_.profiles();
    const auto at = std::ranges::find(docks, profileID_, &Profile::id);
    const auto index = static_cast<std::size_t>(at - docks.begin());
    if (at == docks.end() || index >= HotKeyBindings::kDockDigitKeys.size()) return std::nullopt;
    return HotKeyChord{HotKeyBindings::kDockDigitKeys[index], HotKeyChord::kControlCommand};
}

std::optional<std::string> ProfileDetailModel::badge() const {
    const std::optional<HotKeyChord> chord = resolvedChord();
    if (!hotkeysEnabled() || !chord) return std::nullopt;
    return chordText_.display(*chord);
}

ShortcutRecorder::Row ProfileDetailModel::recorderRow() const {
    const std::optional<HotKeyChord> chord = resolvedChord();
    const Profile* dock = profile();
    return {chord, dock && dock->chord.has_value(), chord && live_.holds(HotKeyAction::profile(profileID_), *chord)};
}

void ProfileDetailModel::record(const HotKeyChord& chord) {
    const ShortcutRecording::Outcome outcome =
        ShortcutRecording::check(HotKeyAction::profile(profileID_), chord, pinned_, preferences_, chordText_);
    if (outcome.accepted) pinned_.setChord(profileID_, chord);
    live_.readNow();
    setChordNote(outcome.accepted && !recorderRow().isLive ? ShortcutRecording::unregisteredNote(chord, chordText_)
                                                           : outcome.note);
}

void ProfileDetailModel::weakKey() {
    setChordNote(ShortcutRecording::weakKeyNote());
}

void ProfileDetailModel::unusableKey(const std::string& keyName) {
    setChordNote(ShortcutRecording::unusableKeyNote(keyName));
}

void ProfileDetailModel::resetChord() {
    pinned_.setChord(profileID_, std::nullopt);
    chordNote_.reset();
    live_.readNow();
}

std::optional<SettingsNote> ProfileDetailModel::chordNote() const {
    if (!chordNote_ || chordNote_->dock != profileID_) return std::nullopt;
    return chordNote_->note;
}

void ProfileDetailModel::setChordNote(std::optional<SettingsNote> note) {
    chordNote_.reset();
    if (note) chordNote_ = ChordNote{profileID_, std::move(*note)};
    changed.emit();
}

std::vector<DisplayEntry> ProfileDetailModel::connectedDisplays() const {
    struct Seen {
        std::string id;
        std::string name;
        int count = 0;
    };
    std::vector<Seen> seen;
    for (const ScreenInfo& screen : screens_.screens()) {
        if (!screen.id || !screen.stableId) continue;
        const auto earlier = std::ranges::find(seen, *screen.stableId, &Seen::id);
        if (earlier != seen.end()) {
            ++earlier->count;
        } else {
            seen.push_back({*screen.stableId, screen.name, 1});
        }
    }
    std::vector<DisplayEntry> entries;
    entries.reserve(seen.size());
    for (const Seen& display : seen) {
        const auto count = static_cast<long long>(display.count);
        entries.push_back({display.id, count == 1 ? display.name
                                                  : trn("%@ (%lld identical display)", "%@ (%lld identical displays)",
                                                        count, display.name, count)});
    }
    return entries;
}

std::vector<DisplayEntry> ProfileDetailModel::displayEntries() const {
    std::vector<DisplayEntry> entries{{std::string(kAllDisplaysTag), tr("All displays")}};
    const std::vector<DisplayEntry> connected = connectedDisplays();
    entries.insert(entries.end(), connected.begin(), connected.end());
    const Profile* dock = profile();
    if (dock && !dock->display.isAll() &&
        std::ranges::find(connected, dock->display.stableID(), &DisplayEntry::tag) == connected.end()) {
        entries.push_back({dock->display.stableID(), trf("%@ — disconnected", dock->display.name())});
    }
    return entries;
}

std::string ProfileDetailModel::selectedDisplayTag() const {
    const Profile* dock = profile();
    if (!dock || dock->display.isAll()) return std::string(kAllDisplaysTag);
    return dock->display.stableID();
}

void ProfileDetailModel::chooseDisplay(const std::string& tag) {
    if (tag == kAllDisplaysTag) return pinned_.setDisplay(profileID_, DisplayAssignment::all());
    const std::vector<DisplayEntry> connected = connectedDisplays();
    const auto entry = std::ranges::find(connected, tag, &DisplayEntry::tag);
    if (entry != connected.end()) pinned_.setDisplay(profileID_, DisplayAssignment::display(entry->tag, entry->title));
}

std::vector<PickerSegment> ProfileDetailModel::edgeSegments() {
    std::vector<PickerSegment> segments;
    for (const DockEdge edge : kAllDockEdges)
        segments.push_back({std::string(dockEdgeSymbol(edge)), label(edge)});
    return segments;
}

std::vector<PickerSegment> ProfileDetailModel::positionSegments(DockEdge edge) {
    std::vector<PickerSegment> segments;
    for (const DockAlignment alignment : {DockAlignment::leading, DockAlignment::center, DockAlignment::trailing})
        segments.push_back({alignmentSymbol(alignment, edge), alignmentLabel(alignment, edge)});
    return segments;
}

std::string ProfileDetailModel::enableHelp() const {
    const Profile* dock = profile();
    return dock && dock->isEnabled ? tr("Disable this dock — its shortcut and automations will be refused")
                                   : tr("Enable this dock");
}

std::string ProfileDetailModel::revealCaption() const {
    const Profile* dock = profile();
    if (dock && dock->revealMode == RevealMode::knock) {
        return tr(
            "Knock: touch the edge, pull back — a glowing line at the edge confirms the tap — then touch it "
            "again while the line shows. On an edge shared with another display there is nothing to touch, "
            "so the crossings are the knocks: cross onto that screen and back, twice.");
    }
    return tr(
        "The dock returns when the cursor reaches its stretch of the edge. When an app fills the screen, that "
        "edge asks for a knock by itself.");
}

std::string ProfileDetailModel::nameOf() const {
    const Profile* dock = profile();
    return dock ? dock->name : std::string();
}

std::string ProfileDetailModel::enableName() const {
    return trf("Enable the “%@” dock", nameOf());
}

std::string ProfileDetailModel::edgeName() const {
    return trf("Dock edge for “%@”", nameOf());
}

std::string ProfileDetailModel::positionName() const {
    return trf("Dock position for “%@”", nameOf());
}

std::string ProfileDetailModel::displayName() const {
    return trf("Dock display for “%@”", nameOf());
}

std::string ProfileDetailModel::revealName() const {
    return trf("Reveal mode for “%@”", nameOf());
}

std::string ProfileDetailModel::automationURL() const {
    return "quillbern://profiles/" + profileID_.text() + "/toggle";
}

}  // namespace quillbern
