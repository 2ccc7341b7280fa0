#include "core/windows/DockSuppressor.h"

#include <charconv>
#include <cmath>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace {

constexpr std::string_view kEnabledKey = "hideNativeDock";
constexpr std::string_view kOriginalsKey = "nativeDockOriginals";

constexpr std::string_view kAutohideKey = "autohide";
constexpr std::string_view kDelayKey = "autohide-delay";
constexpr std::string_view kTimeModifierKey = "autohide-time-modifier";
constexpr std::array<std::string_view, 3> kKeys{kAutohideKey, kDelayKey, kTimeModifierKey};

// Long enough that the dock never shows on its own, and without a slide.
constexpr double kHiddenDelay = 999.75;
constexpr double kHiddenTimeModifier = 0.0;

constexpr std::string_view kNoDockMessage = trNoop(
    "No desktop dock to hide on this desktop: Quillbern hides the GNOME dock (Dash to Dock or Ubuntu Dock), "
    "which is not installed here.");
constexpr std::string_view kSaveFailedMessage = trNoop(
    "Quillbern couldn't save your current settings of the desktop's dock, so it left them alone — it never changes "
    "the desktop's dock without a way back.");
constexpr std::string_view kRefusedMessage = trNoop(
    "The desktop refused the change to its dock's settings. Try again, and if it keeps failing, log out and log "
    "back in.");

// A number written with a point, whatever the user's locale, and nothing around it.
std::optional<double> parsedNumber(std::string_view text) {
    const bool plus = text.starts_with('+');
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

DockSuppressor::DockSuppressor(Defaults& defaults, NativeDockPreferences& dock)
    : defaults_(defaults), dock_(dock), isEnabled_(defaults.boolValue(kEnabledKey).value_or(false)) {}

void DockSuppressor::applyAtLaunch() {
    if (isEnabled_) {
        apply();
    } else if (defaults_.dataValue(kOriginalsKey)) {
        restore();
    }
}

void DockSuppressor::setEnabled(bool on) {
    if (on == isEnabled_) return;
    setLastError(std::nullopt);
    if (on) {
        if (!apply()) return;
        setEnabledFlag(true);
    } else if (restore()) {
        setEnabledFlag(false);
    } else {
        // The dock is still hidden; the switch must say so.
        setLastError(tr(kRefusedMessage));
    }
    defaults_.set(kEnabledKey, isEnabled_);
}

bool DockSuppressor::apply() {
    setLastError(std::nullopt);
    if (!dock_.isSupported()) {
        setLastError(tr(kNoDockMessage));
        return false;
    }
    const DockPrefs hidden{true, kHiddenDelay, kHiddenTimeModifier};
    const DockPrefs current = readCurrent();
    if (current == hidden) return true;

    const bool hadOriginals = defaults_.dataValue(kOriginalsKey).has_value();
    if (!saveOriginalsIfNeeded(current)) {
        setLastError(tr(kSaveFailedMessage));
        return false;
    }
    // The record is the only way back to the user's values: it is on disk before they change.
    defaults_.flush();
    const RawValues before = rawValues();
    write(hidden);
    if (!dock_.synchronize()) {
        setLastError(tr(kRefusedMessage));
        // The dock keeps the user's values, so a record saved for this attempt has nothing to undo.
        if (putBack(before) && !hadOriginals) defaults_.remove(kOriginalsKey);
        return false;
    }
    relaunchDock();
    return true;
}

bool DockSuppressor::restore() {
    // Without the dock there is nothing to put back; the record waits for its return.
    if (!dock_.isSupported()) return true;
    const DockPrefs current = readCurrent();
    DockPrefs saved;
    if (const auto stored = savedOriginals()) {
        saved = *stored;
    } else if (current.delay != kHiddenDelay) {
        return true;
    }
    // Whatever the user changed while the dock was hidden stays as the user set it.
    DockPrefs chosen;
    chosen.autohide = current.autohide == true ? saved.autohide : current.autohide;
    chosen.delay = !current.delay || *current.delay == kHiddenDelay ? saved.delay : current.delay;
    chosen.timeModifier = !current.timeModifier || *current.timeModifier == kHiddenTimeModifier ? saved.timeModifier
                                                                                                : current.timeModifier;

    const RawValues before = rawValues();
    write(chosen);
    if (!dock_.synchronize()) {
        putBack(before);
        return false;
    }
    relaunchDock();
    defaults_.remove(kOriginalsKey);
    return true;
}

DockSuppressor::DockPrefs DockSuppressor::readCurrent() const {
    DockPrefs prefs;
    if (const auto autohide = dock_.value(kAutohideKey)) {
        if (autohide->is_boolean()) {
            prefs.autohide = autohide->get<bool>();
        } else if (autohide->is_number()) {
            prefs.autohide = autohide->get<double>() != 0;
        }
    }
    prefs.delay = doublePref(kDelayKey);
    prefs.timeModifier = doublePref(kTimeModifierKey);
    return prefs;
}

std::optional<double> DockSuppressor::doublePref(std::string_view key) const {
    const auto value = dock_.value(key);
    if (!value) return std::nullopt;
    if (value->is_number()) return value->get<double>();
    if (value->is_string()) return parsedNumber(value->get_ref<const std::string&>());
    return std::nullopt;
}

bool DockSuppressor::saveOriginalsIfNeeded(const DockPrefs& current) {
    // The first record stays until a restore has used it.
    if (defaults_.dataValue(kOriginalsKey)) return true;
    // A dock already carrying our delay was hidden by us before: restoring removes the keys.
    const DockPrefs record = current.delay == kHiddenDelay ? DockPrefs{} : current;
    Json encoded = Json::object();
    if (record.autohide) encoded["autohide"] = *record.autohide;
    // JSON has no form for infinities and NaN, and a record that cannot be read back is no way back.
    const auto add = [&encoded](const char* name, std::optional<double> field) {
        if (field) encoded[name] = *field;
        return !field || std::isfinite(*field);
    };
    if (!add("delay", record.delay) || !add("timeModifier", record.timeModifier)) return false;
    const std::string text = encoded.dump();
    defaults_.setData(kOriginalsKey, Bytes(text.begin(), text.end()));
    return true;
}

std::optional<DockSuppressor::DockPrefs> DockSuppressor::savedOriginals() const {
    const auto data = defaults_.dataValue(kOriginalsKey);
    if (!data) return std::nullopt;
    // A record that cannot be read counts as none of the three having had a value.
    const Json record = Json::parse(data->begin(), data->end(), nullptr, false);
    if (record.is_discarded() || !record.is_object()) return DockPrefs{};
    DockPrefs saved;
    for (const auto& [name, member] : record.items()) {
        if (member.is_null()) continue;
        if (name == "autohide") {
            if (!member.is_boolean()) return DockPrefs{};
            saved.autohide = member.get<bool>();
        } else if (name == "delay" || name == "timeModifier") {
            if (!member.is_number()) return DockPrefs{};
            (name == "delay" ? saved.delay : saved.timeModifier) = member.get<double>();
        }
    }
    return saved;
}

void DockSuppressor::write(const DockPrefs& prefs) {
    dock_.setValue(kAutohideKey, prefs.autohide ? std::optional<Json>(*prefs.autohide) : std::nullopt);
    dock_.setValue(kDelayKey, prefs.delay ? std::optional<Json>(*prefs.delay) : std::nullopt);
    dock_.setValue(kTimeModifierKey, prefs.timeModifier ? std::optional<Json>(*prefs.timeModifier) : std::nullopt);
}

DockSuppressor::RawValues DockSuppressor::rawValues() const {
    RawValues values;
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        values[i] = dock_.value(kKeys[i]);
    return values;
}

bool DockSuppressor::putBack(const RawValues& values) {
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        dock_.setValue(kKeys[i], values[i]);
    if (dock_.synchronize()) return true;
    log("the desktop's dock settings could not be put back after a refused change");
    return false;
}

void DockSuppressor::relaunchDock() {
    // Only logged: the settings are written whatever the restart does.
    const ProcessResult result = dock_.restartDock(kRestartTimeLimit);
    if (!result.launched) {
        log("failed to restart the desktop's dock: ",
            escapedForLog(result.error ? result.error->message : "unknown error"));
    } else if (result.timedOut) {
        log("restarting the desktop's dock was still running after 2 s — stopped waiting");
    } else if (result.exitStatus.value_or(0) != 0) {
        log("restarting the desktop's dock exited with status ", *result.exitStatus);
    }
}

void DockSuppressor::setEnabledFlag(bool on) {
    if (isEnabled_ == on) return;
    isEnabled_ = on;
    changed.emit();
}

void DockSuppressor::setLastError(std::optional<std::string> message) {
    if (lastError_ == message) return;
    lastError_ = std::move(message);
    changed.emit();
}

}  // namespace quillbern
