#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/CaseNames.h"
#include "core/model/HotKeyAction.h"
#include "core/model/HotKeyChord.h"

namespace quillbern {

using HotKeyOverrides = std::unordered_map<HotKeyAction, HotKeyChord>;

// The behaviour settings: hiding, the launch beacon, the reveal delay, the knock tempo,
// global shortcuts with the user's re-recorded chords, the workspace limit and the
// interface language. Read once at construction (snapped and clamped there); every
// assignment is stored, not clamped, and saved when it changes the value. Stored overrides that
// cannot be read or name no action are dropped one by one, and the stored bytes are first
// kept under a dated ".corrupt." key (once for the same bytes) so no chord the user
// recorded is lost. Main thread only.
class DockPreferences {
public:
    enum class KnockTempo { brisk, standard, relaxed };

    static constexpr double kDefaultRevealDelay = 0.36;
    static constexpr std::int64_t kDefaultWorkspaceMaxApps = 6;

    // The interface language chosen in Settings, from the stored values of the domain: what a
    // start speaks, read before any store or thread exists. A stored value that is no code of
    // kInterfaceLanguages (anyone may have written the file) is ignored, and logged.
    static std::optional<std::string> storedLanguage(const Json& domain);

    DockPreferences(Defaults& defaults, const Clock& clock, const RunLoop& mainLoop);
    DockPreferences(const DockPreferences&) = delete;
    DockPreferences& operator=(const DockPreferences&) = delete;

    // Told when any value really changes.
    Signal<> changed;
    // Called after every override change; set once by whoever registers the shortcuts.
    std::function<void()> onOverridesChange;

    const std::optional<std::string>& lastAutomationFailure() const { return lastAutomationFailure_; }
    bool autoHide() const { return autoHide_; }
    bool launchBeacon() const { return launchBeacon_; }
    double revealDelay() const { return revealDelay_; }
    KnockTempo knockTempo() const { return knockTempo_; }
    bool hotkeysEnabled() const { return hotkeysEnabled_; }
    std::int64_t workspaceMaxApps() const { return workspaceMaxApps_; }
    const HotKeyOverrides& hotkeyOverrides() const { return hotkeyOverrides_; }
    const std::optional<std::string>& languageOverride() const { return languageOverride_; }
    // The language chosen when this run started; a relaunch applies a different one.
    const std::optional<std::string>& languageAtLaunch() const { return languageAtLaunch_; }

    // Kept for Settings only; never stored.
    void setLastAutomationFailure(std::optional<std::string> message);
    void setAutoHide(bool on);
    void setLaunchBeacon(bool on);
    void setRevealDelay(double seconds);
    void setKnockTempo(KnockTempo tempo);
    void setHotkeysEnabled(bool on);
    void setWorkspaceMaxApps(std::int64_t count);
    // A language code, or none for the system's languages.
    void setLanguageOverride(std::optional<std::string> code);

    // Sets (chord given) or removes one action's chord; always stores and calls back.
    void setOverride(const HotKeyAction& action, std::optional<HotKeyChord> chord);
    // Removes every override; does nothing when there are none.
    void clearOverrides();
    // The stored overrides that can be read; members naming no feature action are skipped.
    static HotKeyOverrides loadOverrides(const Defaults& defaults);

    // The stored name of a feature action's override; none for dock actions.
    static std::optional<std::string_view> overrideKey(const HotKeyAction& action);

private:
    struct StoredOverrides {
        HotKeyOverrides overrides;
        bool droppedAny = false;
    };
    static StoredOverrides readOverrides(const Defaults& defaults);
    static HotKeyOverrides keepingUnreadableOverrides(Defaults& defaults, const Clock& clock);

    template <class T>
    void assign(T& field, T value, std::string_view key, Json stored);
    void storeOverrides();

    Defaults& defaults_;
    const RunLoop& mainLoop_;
    std::optional<std::string> lastAutomationFailure_;
    bool autoHide_;
    bool launchBeacon_;
    double revealDelay_;
    KnockTempo knockTempo_;
    bool hotkeysEnabled_;
    std::int64_t workspaceMaxApps_;
    HotKeyOverrides hotkeyOverrides_;
    std::optional<std::string> languageOverride_;
    const std::optional<std::string> languageAtLaunch_;
};

template <>
struct CaseNames<DockPreferences::KnockTempo> {
    static constexpr std::array<std::string_view, 3> names{"brisk", "standard", "relaxed"};
};

}  // namespace quillbern
