#include "core/settings/ShortcutsCardModel.h"

#include <algorithm>

#include "core/settings/ShortcutRecording.h"
#include "core/shortcuts/HotKeyBindings.h"

namespace quillbern {

ShortcutsCardModel::ShortcutsCardModel(Inputs inputs)
    : pinned_(inputs.pinned),
      preferences_(inputs.preferences),
      onHotkeysToggled_(std::move(inputs.onHotkeysToggled)),
      chordText_(inputs.keyboardLayout, inputs.text),
      live_(std::move(inputs.registeredChords), inputs.mainLoop),
      watched_(watched()) {
    liveChanged_ = live_.changed.connect([this] { changed.emit(); });
    preferencesChanged_ = preferences_.changed.connect([this] { storesChanged(); });
    profilesChanged_ = pinned_.profilesChanged.connect([this] { storesChanged(); });
}

ShortcutsCardModel::~ShortcutsCardModel() = default;

bool ShortcutsCardModel::hotkeysEnabled() const {
    return preferences_.hotkeysEnabled();
}

void ShortcutsCardModel::setHotkeysEnabled(bool on) {
    preferences_.setHotkeysEnabled(on);
    if (onHotkeysToggled_) onHotkeysToggled_();
}

std::vector<HotKeyAction> ShortcutsCardModel::shownActions() const {
    std::vector<HotKeyAction> shown;
    for (const HotKeyAction& feature : kFeatureOrder) {
        if (feature.kind() == HotKeyAction::Kind::peekDocks && !preferences_.autoHide()) continue;
        shown.push_back(feature);
    }
    return shown;
}

HotKeyChord ShortcutsCardModel::effectiveChord(const HotKeyAction& feature) const {
    const auto& overrides = preferences_.hotkeyOverrides();
    const auto custom = overrides.find(feature);
    return custom != overrides.end() ? custom->second : HotKeyBindings::defaultChord(feature);
}

bool ShortcutsCardModel::isCustom(const HotKeyAction& feature) const {
    return preferences_.hotkeyOverrides().contains(feature);
}

bool ShortcutsCardModel::isLive(const HotKeyAction& feature) const {
    return live_.holds(feature, effectiveChord(feature));
}

bool ShortcutsCardModel::showsStruckThroughCaption() const {
    const auto shown = shownActions();
    return std::any_of(shown.begin(), shown.end(), [this](const HotKeyAction& feature) {
        return !isLive(feature) && feature != unregisteredNoted_;
    });
}

void ShortcutsCardModel::appeared() {
    live_.readNow();
}

void ShortcutsCardModel::record(const HotKeyAction& feature, const HotKeyChord& chord) {
    const auto outcome = ShortcutRecording::check(feature, chord, pinned_, preferences_, chordText_);
    if (outcome.accepted) preferences_.setOverride(feature, chord);
    if (onHotkeysToggled_) onHotkeysToggled_();
    live_.readNow();
    if (outcome.accepted && !isLive(feature))
        return setNote(ShortcutRecording::unregisteredNote(chord, chordText_), feature);
    setNote(outcome.note);
}

void ShortcutsCardModel::weakKey() {
    setNote(ShortcutRecording::weakKeyNote());
}

void ShortcutsCardModel::unusableKey(const std::string& keyName) {
    setNote(ShortcutRecording::unusableKeyNote(keyName));
}

void ShortcutsCardModel::reset(const HotKeyAction& feature) {
    preferences_.setOverride(feature, std::nullopt);
    setNote(std::nullopt);
    live_.readNow();
}

int ShortcutsCardModel::recordedCount() const {
    const auto& profiles = pinned_.profiles();
    const auto ownChords =
        std::count_if(profiles.begin(), profiles.end(), [](const Profile& dock) { return dock.chord.has_value(); });
    return static_cast<int>(preferences_.hotkeyOverrides().size() + static_cast<std::size_t>(ownChords));
}

void ShortcutsCardModel::resetAll() {
    preferences_.clearOverrides();
    pinned_.clearAllChords();
    setNote(std::nullopt);
    if (onHotkeysToggled_) onHotkeysToggled_();
    live_.readNow();
}

const std::optional<std::string>& ShortcutsCardModel::automationFailure() const {
    return preferences_.lastAutomationFailure();
}

void ShortcutsCardModel::dismissAutomationFailure() {
    preferences_.setLastAutomationFailure(std::nullopt);
}

ShortcutsCardModel::Watched ShortcutsCardModel::watched() const {
    Watched now{preferences_.hotkeysEnabled(), preferences_.autoHide(), {}};
    for (const Profile& dock : pinned_.profiles())
        now.dockIDs.push_back(dock.id);
    return now;
}

void ShortcutsCardModel::storesChanged() {
    Watched now = watched();
    if (now != watched_) live_.readSoon();
    watched_ = std::move(now);
    changed.emit();
}

void ShortcutsCardModel::setNote(std::optional<SettingsNote> note, std::optional<HotKeyAction> unregistered) {
    note_ = std::move(note);
    unregisteredNoted_ = unregistered;
    changed.emit();
}

}  // namespace quillbern
