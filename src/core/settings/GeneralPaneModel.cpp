#include "core/settings/GeneralPaneModel.h"

#include "core/foundation/Localization.h"
#include "core/model/AppRelauncher.h"

namespace quillbern {

GeneralPaneModel::GeneralPaneModel(Inputs inputs)
    : preferences_(inputs.preferences),
      loginItem_(inputs.loginItem),
      suppressor_(inputs.suppressor),
      updater_(inputs.updater),
      onHotkeysToggled_(std::move(inputs.onHotkeysToggled)),
      defaults_(inputs.defaults),
      text_(inputs.text),
      launcher_(inputs.launcher),
      processes_(inputs.processes),
      process_(inputs.process) {
    subscriptions_.push_back(preferences_.changed.connect([this] { changed.emit(); }));
    subscriptions_.push_back(loginItem_.changed.connect([this] { changed.emit(); }));
    subscriptions_.push_back(suppressor_.changed.connect([this] { changed.emit(); }));
}

void GeneralPaneModel::setAutoHide(bool on) {
    preferences_.setAutoHide(on);
    if (onHotkeysToggled_) onHotkeysToggled_();
}

int GeneralPaneModel::revealDelayPosition() const {
    return revealDelayScale().position(preferences_.revealDelay());
}

void GeneralPaneModel::setRevealDelayPosition(int position) {
    preferences_.setRevealDelay(revealDelayScale().value(position));
}

std::string GeneralPaneModel::revealDelayText() const {
    return text_.formatSeconds(preferences_.revealDelay());
}

std::string GeneralPaneModel::revealDelayCaption(double delay) {
    if (delay < 0.3) {
        return tr(
            "Quick — the dock appears almost on contact. A pass through a top panel may summon it by "
            "accident.");
    }
    if (delay < 0.54) {
        return tr(
            "Balanced — a short pause at the edge summons the dock; clicks in a top panel and screen crossings "
            "pass freely.");
    }
    return tr("Deliberate — the dock waits for a clear stop at the edge. Best if you often work in a top panel.");
}

void GeneralPaneModel::setKnockTempo(DockPreferences::KnockTempo tempo) {
    preferences_.setKnockTempo(tempo);
}

void GeneralPaneModel::setLaunchBeacon(bool on) {
    preferences_.setLaunchBeacon(on);
}

bool GeneralPaneModel::opensAtLogin() const {
    return loginItem_.status() == LoginStatus::enabled;
}

void GeneralPaneModel::setOpensAtLogin(bool on) {
    loginItem_.setEnabled(on);
}

GeneralPaneModel::LoginNotes GeneralPaneModel::loginNotes() const {
    LoginNotes notes;
    const LoginStatus status = loginItem_.status();
    if (status == LoginStatus::requiresApproval) {
        notes.approval =
            SettingsNote{tr("Approve it in your desktop's startup applications"), SettingsNoteStyle::warning};
    }
    if (status != LoginStatus::enabled && defaults_.boolValue(kAdoptedLegacyDefaultsKey).value_or(false)) {
        notes.renamed = SettingsNote{tr("The app was renamed, so a previous “open at login” setting did not carry "
                                        "over. A leftover entry may remain in your desktop's startup applications."),
                                     SettingsNoteStyle::info};
    }
    if (const auto& error = loginItem_.lastError()) {
        notes.error = SettingsNote{*error, SettingsNoteStyle::error};
        notes.offersSettings = launcher_.canOpenSystemSettings(SystemSettingsPage::loginItems);
    }
    return notes;
}

void GeneralPaneModel::openLoginSettings() {
    launcher_.openSystemSettings(SystemSettingsPage::loginItems);
}

void GeneralPaneModel::setHidesDesktopDock(bool on) {
    suppressor_.setEnabled(on);
}

std::optional<SettingsNote> GeneralPaneModel::desktopDockNote() const {
    if (const auto& error = suppressor_.lastError()) return SettingsNote{*error, SettingsNoteStyle::error};
    return std::nullopt;
}

void GeneralPaneModel::setWorkspaceLimit(int count) {
    preferences_.setWorkspaceMaxApps(count);
}

std::string GeneralPaneModel::languageSelection() const {
    return preferences_.languageOverride().value_or(std::string(kSystemLanguage));
}

void GeneralPaneModel::chooseLanguage(std::string_view value) {
    if (value == kSystemLanguage) {
        preferences_.setLanguageOverride(std::nullopt);
    } else {
        preferences_.setLanguageOverride(std::string(value));
    }
}

bool GeneralPaneModel::offersRelaunch() const {
    return preferences_.languageOverride() != preferences_.languageAtLaunch();
}

void GeneralPaneModel::relaunch() {
    const auto started = AppRelauncher::relaunch(processes_, process_);
    relaunchNote_ = started ? std::nullopt
                            : std::optional(SettingsNote{trf("Quillbern could not relaunch (%@). It keeps running: "
                                                             "quit it and start it again to use the new language.",
                                                             started.error().message),
                                                         SettingsNoteStyle::error});
    changed.emit();
}

bool GeneralPaneModel::hasUpdater() const {
    return updater_.hasUpdater();
}

bool GeneralPaneModel::checksAutomatically() const {
    return updater_.automaticallyChecksForUpdates();
}

void GeneralPaneModel::setChecksAutomatically(bool on) {
    updater_.setAutomaticallyChecksForUpdates(on);
}

bool GeneralPaneModel::canCheckForUpdates() const {
    return updater_.canCheckForUpdates();
}

void GeneralPaneModel::checkForUpdates() {
    updater_.checkForUpdates();
}

std::optional<std::string> GeneralPaneModel::lastCheckText() const {
    const auto last = updater_.lastUpdateCheckDate();
    if (!last) return std::nullopt;
    return trf("Last checked: %@", text_.formatDateAndTime(*last));
}

std::string GeneralPaneModel::updatesCaption() const {
    if (!hasUpdater()) return tr("Your package manager keeps Quillbern up to date.");
    return tr("Updates are signed and verified before they are installed.");
}

}  // namespace quillbern
