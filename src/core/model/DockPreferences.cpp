#include "core/model/DockPreferences.h"

#include <algorithm>
#include <cmath>

#include "core/foundation/JsonText.h"
#include "core/foundation/Log.h"
#include "core/model/DatedKey.h"
#include "core/model/InterfaceLanguages.h"
#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"
#include "core/model/ProfileKeys.h"
#include "core/model/StoredSetting.h"

namespace quillbern {

namespace {

constexpr std::string_view kAutoHideKey = "dockAutoHide";
constexpr std::string_view kLaunchBeaconKey = "dockLaunchBeacon";
constexpr NumberSetting<double> kRevealDelay{"dockRevealDelay", 0.24, 0.72, DockPreferences::kDefaultRevealDelay};
constexpr std::string_view kKnockTempoKey = "dockKnockTempo";
constexpr std::string_view kHotkeysEnabledKey = "profileHotKeysEnabled";
constexpr NumberSetting<std::int64_t> kWorkspaceMaxApps{"workspaceMaxApps", 2, 10,
                                                        DockPreferences::kDefaultWorkspaceMaxApps};
constexpr std::string_view kOverridesKey = "hotkeyOverrides.v1";
constexpr std::string_view kLanguageKey = "quillbernLanguage";
constexpr std::string_view kLanguagesKey = "AppleLanguages";

constexpr double kRevealDelayStep = 0.12;

// The reveal delays the controls offer: multiples of 0.12 in the setting's range.
double snappedRevealDelay(std::optional<double> stored) {
    if (!stored || !std::isfinite(*stored)) return kRevealDelay.fallback;
    return kRevealDelay.clamped(std::round(*stored / kRevealDelayStep) * kRevealDelayStep);
}

// The stored language when it is a code of the picker.
std::optional<std::string> offeredLanguage(std::optional<std::string> stored) {
    if (stored && !isInterfaceLanguage(*stored)) return std::nullopt;
    return stored;
}

}  // namespace

std::optional<std::string> DockPreferences::storedLanguage(const Json& domain) {
    const auto stored = domain.is_object() ? domain.find(kLanguageKey) : domain.end();
    if (stored == domain.end() || !stored->is_string()) return std::nullopt;
    const auto& code = stored->get_ref<const std::string&>();
    if (isInterfaceLanguage(code)) return code;
    log("the stored interface language \"", escapedForLog(code),
        "\" is none that Quillbern speaks; it speaks the desktop's");
    return std::nullopt;
}

DockPreferences::DockPreferences(Defaults& defaults, const Clock& clock, const RunLoop& mainLoop)
    : defaults_(defaults),
      mainLoop_(mainLoop),
      autoHide_(defaults.boolValue(kAutoHideKey).value_or(true)),
      launchBeacon_(defaults.boolValue(kLaunchBeaconKey).value_or(true)),
      revealDelay_(snappedRevealDelay(defaults.doubleValue(kRevealDelay.key))),
      knockTempo_([&] {
          const auto stored = defaults.stringValue(kKnockTempoKey);
          return (stored ? caseNamed<KnockTempo>(*stored) : std::nullopt).value_or(KnockTempo::standard);
      }()),
      hotkeysEnabled_(defaults.boolValue(kHotkeysEnabledKey).value_or(true)),
      workspaceMaxApps_(kWorkspaceMaxApps.clamped(defaults.intValue(kWorkspaceMaxApps.key))),
      hotkeyOverrides_(keepingUnreadableOverrides(defaults, clock)),
      languageOverride_(offeredLanguage(defaults.stringValue(kLanguageKey))),
      languageAtLaunch_(languageOverride_) {}

template <class T>
void DockPreferences::assign(T& field, T value, std::string_view key, Json stored) {
    expectOnLoop(mainLoop_);
    if (storeSetting(defaults_, key, field, std::move(value), std::move(stored))) changed.emit();
}

void DockPreferences::setLastAutomationFailure(std::optional<std::string> message) {
    expectOnLoop(mainLoop_);
    if (lastAutomationFailure_ == message) return;
    lastAutomationFailure_ = std::move(message);
    changed.emit();
}

void DockPreferences::setAutoHide(bool on) {
    assign(autoHide_, on, kAutoHideKey, on);
}

void DockPreferences::setLaunchBeacon(bool on) {
    assign(launchBeacon_, on, kLaunchBeaconKey, on);
}

void DockPreferences::setRevealDelay(double seconds) {
    assign(revealDelay_, seconds, kRevealDelay.key, seconds);
}

void DockPreferences::setKnockTempo(KnockTempo tempo) {
    assign(knockTempo_, tempo, kKnockTempoKey, caseName(tempo));
}

void DockPreferences::setHotkeysEnabled(bool on) {
    assign(hotkeysEnabled_, on, kHotkeysEnabledKey, on);
}

void DockPreferences::setWorkspaceMaxApps(std::int64_t count) {
    assign(workspaceMaxApps_, count, kWorkspaceMaxApps.key, count);
}

void DockPreferences::setLanguageOverride(std::optional<std::string> code) {
    expectOnLoop(mainLoop_);
    const bool isChange = languageOverride_ != code;
    languageOverride_ = std::move(code);
    if (languageOverride_) {
        defaults_.set(kLanguageKey, *languageOverride_);
        defaults_.set(kLanguagesKey, Json::array({*languageOverride_}));
    } else {
        defaults_.remove(kLanguageKey);
        defaults_.remove(kLanguagesKey);
    }
    if (isChange) changed.emit();
}

std::optional<std::string_view> DockPreferences::overrideKey(const HotKeyAction& action) {
    switch (action.kind()) {
        case HotKeyAction::Kind::overview:
            return "overview";
        case HotKeyAction::Kind::search:
            return "search";
        case HotKeyAction::Kind::files:
            return "files";
        case HotKeyAction::Kind::focusMode:
            return "focus";
        case HotKeyAction::Kind::workspace:
            return "workspace";
        case HotKeyAction::Kind::cheatSheet:
            return "cheatsheet";
        case HotKeyAction::Kind::peekDocks:
            return "peek";
        case HotKeyAction::Kind::profile:
            return std::nullopt;
    }
    return std::nullopt;
}

void DockPreferences::setOverride(const HotKeyAction& action, std::optional<HotKeyChord> chord) {
    expectOnLoop(mainLoop_);
    const auto existing = hotkeyOverrides_.find(action);
    const bool isChange =
        chord ? existing == hotkeyOverrides_.end() || existing->second != *chord : existing != hotkeyOverrides_.end();
    if (chord) {
        hotkeyOverrides_[action] = *chord;
    } else {
        hotkeyOverrides_.erase(action);
    }
    if (isChange) changed.emit();
    storeOverrides();
    if (onOverridesChange) onOverridesChange();
}

void DockPreferences::clearOverrides() {
    expectOnLoop(mainLoop_);
    if (hotkeyOverrides_.empty()) return;
    hotkeyOverrides_.clear();
    changed.emit();
    defaults_.remove(kOverridesKey);
    if (onOverridesChange) onOverridesChange();
}

void DockPreferences::storeOverrides() {
    JsonWriter writer;
    writer.beginObject();
    // In the feature order, so the stored text does not depend on hashing.
    for (const HotKeyAction& action : kFeatureOrder) {
        const auto found = hotkeyOverrides_.find(action);
        if (found == hotkeyOverrides_.end()) continue;
        writer.key(*overrideKey(action));
        found->second.write(writer);
    }
    writer.endObject();
    const std::string& text = writer.text();
    defaults_.setData(kOverridesKey, Bytes(text.begin(), text.end()));
}

HotKeyOverrides DockPreferences::loadOverrides(const Defaults& defaults) {
    return readOverrides(defaults).overrides;
}

DockPreferences::StoredOverrides DockPreferences::readOverrides(const Defaults& defaults) {
    const auto stored = defaults.value(kOverridesKey);
    if (!stored) return {};
    const auto data = Defaults::bytesFromJson(*stored);
    const auto json = data ? parseJson(*data) : Result<Json>(Error{});
    if (!json || !json.value().is_object()) return {{}, true};

    StoredOverrides out;
    for (const auto& member : json.value().items()) {
        const std::string& name = member.key();
        const auto action =
            std::ranges::find_if(kFeatureOrder, [&name](const HotKeyAction& a) { return overrideKey(a) == name; });
        const auto chord = decodeJson<HotKeyChord>(member.value());
        // A member naming no action is a newer version's; the next change would drop it.
        if (action == kFeatureOrder.end() || !chord) {
            out.droppedAny = true;
            continue;
        }
        out.overrides.emplace(*action, chord.value());
    }
    return out;
}

HotKeyOverrides DockPreferences::keepingUnreadableOverrides(Defaults& defaults, const Clock& clock) {
    StoredOverrides read = readOverrides(defaults);
    if (read.droppedAny) {
        const std::string copy =
            keepDatedCopy(defaults, clock, kOverridesKey, kCorruptInfix, *defaults.value(kOverridesKey));
        log("shortcut overrides that cannot be read or name no action dropped; the stored value is kept under ", copy);
    }
    return std::move(read.overrides);
}

}  // namespace quillbern
