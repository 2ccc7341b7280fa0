#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Defaults.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/model/DockPreferences.h"
#include "core/model/InterfaceLanguages.h"
#include "core/platform/AppProcess.h"
#include "core/platform/Launcher.h"
#include "core/platform/Processes.h"
#include "core/platform/TextServices.h"
#include "core/settings/SettingsControlLooks.h"
#include "core/settings/SliderScale.h"
#include "core/shell/UpdaterController.h"
#include "core/windows/DockSuppressor.h"
#include "core/windows/LoginItem.h"

namespace quillbern {

// What General shows of the behaviour settings, the login item, the desktop's dock, the
// language and the updater, and how its controls write them. Every value lives in its store;
// the pane's own state is only the message of a relaunch that could not start. Main thread.
class GeneralPaneModel {
public:
    // The picker's value for no language of our own: the system's.
    static constexpr std::string_view kSystemLanguage = "system";
    // Set once by the import of the former name's settings.
    static constexpr std::string_view kAdoptedLegacyDefaultsKey = "adoptedLegacyDefaults";

    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        DockPreferences& preferences;
        LoginItem& loginItem;
        DockSuppressor& suppressor;
        UpdaterController& updater;
        // Registers the global shortcuts anew from the settings.
        std::function<void()> onHotkeysToggled;
        // Where the legacy import left its mark.
        const Defaults& defaults;
        const TextServices& text;
        Launcher& launcher;
        Processes& processes;
        AppProcess& process;
    };

    explicit GeneralPaneModel(Inputs inputs);
    GeneralPaneModel(const GeneralPaneModel&) = delete;
    GeneralPaneModel& operator=(const GeneralPaneModel&) = delete;

    // Anything the pane shows of the stores, or the relaunch note, changed.
    Signal<> changed;

    bool autoHide() const { return preferences_.autoHide(); }
    // Stores the value, then registers the shortcuts anew (peek exists only while docks hide).
    void setAutoHide(bool on);

    // 0.24 to 0.72 s in five whole positions, 0.12 apart.
    static SliderScale revealDelayScale() { return {24, 12, 4, 100}; }
    int revealDelayPosition() const;
    void setRevealDelayPosition(int position);
    // "0.36 sec", in the locale's words.
    std::string revealDelayText() const;
    double revealDelay() const { return preferences_.revealDelay(); }
    static std::string revealDelayCaption(double delay);

    DockPreferences::KnockTempo knockTempo() const { return preferences_.knockTempo(); }
    void setKnockTempo(DockPreferences::KnockTempo tempo);
    bool launchBeacon() const { return preferences_.launchBeacon(); }
    void setLaunchBeacon(bool on);

    bool opensAtLogin() const;
    void setOpensAtLogin(bool on);
    // The notes under "Open at login", each on its own condition, shown in this order.
    struct LoginNotes {
        std::optional<SettingsNote> approval;
        std::optional<SettingsNote> renamed;
        std::optional<SettingsNote> error;
        // The error offers the desktop's page of startup applications; never where there is none.
        bool offersSettings = false;
    };
    LoginNotes loginNotes() const;
    void openLoginSettings();

    bool hidesDesktopDock() const { return suppressor_.isEnabled(); }
    // The desktop may refuse without a word: read hidesDesktopDock again after.
    void setHidesDesktopDock(bool on);
    std::optional<SettingsNote> desktopDockNote() const;

    int workspaceLimit() const { return static_cast<int>(preferences_.workspaceMaxApps()); }
    void setWorkspaceLimit(int count);

    // A code of kInterfaceLanguages, or "system".
    std::string languageSelection() const;
    void chooseLanguage(std::string_view value);
    // The language chosen differs from the one this run started with.
    bool offersRelaunch() const;
    // Starts a new copy in the chosen language, which then replaces this one; when it cannot
    // start, this one keeps running and the note says why.
    void relaunch();
    const std::optional<SettingsNote>& relaunchNote() const { return relaunchNote_; }

    // Without an updater (so on Linux) nothing can be switched or checked.
    bool hasUpdater() const;
    bool checksAutomatically() const;
    void setChecksAutomatically(bool on);
    bool canCheckForUpdates() const;
    void checkForUpdates();
    // "Last checked: …" once a check was made.
    std::optional<std::string> lastCheckText() const;
    std::string updatesCaption() const;

private:
    DockPreferences& preferences_;
    LoginItem& loginItem_;
    DockSuppressor& suppressor_;
    UpdaterController& updater_;
    std::function<void()> onHotkeysToggled_;
    const Defaults& defaults_;
    const TextServices& text_;
    Launcher& launcher_;
    Processes& processes_;
    AppProcess& process_;
    std::optional<SettingsNote> relaunchNote_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace quillbern
