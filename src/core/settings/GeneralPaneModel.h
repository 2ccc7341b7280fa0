#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/settings/SettingsControlLooks.h"
#include "core/settings/SettingsServices.h"
#include "core/settings/SliderScale.h"

namespace quillbern {

// A language the interface can be switched to, by its code, named in its own language.
struct InterfaceLanguage {
    std::string_view code;
    std::string_view label;
};

// What General shows of the behaviour settings, the login item, the desktop's dock, the
// language and the updater, and how its controls write them. Every value lives in its store;
// the pane's own state is only the message of a relaunch that could not start. Main thread.
class GeneralPaneModel {
public:
    // The picker's value for no language of our own: the system's.
    static constexpr std::string_view kSystemLanguage = "system";
    // Set once by the import of the former name's settings.
    static constexpr std::string_view kAdoptedLegacyDefaultsKey = "adoptedLegacyDefaults";

    explicit GeneralPaneModel(const SettingsServices& services);
    GeneralPaneModel(const GeneralPaneModel&) = delete;
    GeneralPaneModel& operator=(const GeneralPaneModel&) = delete;

    // The relaunch note changed.
    Signal<> changed;

    // Stores the value, then registers the shortcuts anew (peek exists only while docks hide).
    void setAutoHide(bool on);

    // 0.24 to 0.72 s in five whole positions, 0.12 apart.
    static SliderScale revealDelayScale() { return {24, 12, 4, 100}; }
    int revealDelayPosition() const;
    void setRevealDelayPosition(int position);
    // "0.36 sec", in the locale's words.
    std::string revealDelayText() const;
    static std::string revealDelayCaption(double delay);

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

    std::optional<SettingsNote> desktopDockNote() const;

    static const std::vector<InterfaceLanguage>& languages();
    // A code of the list, or "system".
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
    Platform& platform_;
    std::function<void()> onHotkeysToggled_;
    std::optional<SettingsNote> relaunchNote_;
};

}  // namespace quillbern
