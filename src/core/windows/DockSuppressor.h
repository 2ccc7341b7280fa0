#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/foundation/Defaults.h"
#include "core/foundation/Signal.h"
#include "core/platform/NativeDockPreferences.h"

namespace quillbern {

// Keeps the desktop's own dock out of sight while our docks run, through that dock's
// auto-hide settings: the user's values are saved once before anything is written, and put
// back when hiding is switched off, at quit while it is on, and at the next launch when a
// crash left them behind. Values the user changed while the dock was hidden are kept. A
// change the desktop refuses is taken back, so the dock always carries either the user's
// values or the hidden ones, and the switch says which. Main thread.
class DockSuppressor {
public:
    // The longest the main thread waits for the dock to restart.
    static constexpr Duration kRestartTimeLimit = 2.0;

    DockSuppressor(Defaults& defaults, NativeDockPreferences& dock);
    DockSuppressor(const DockSuppressor&) = delete;
    DockSuppressor& operator=(const DockSuppressor&) = delete;

    // Told when isEnabled or lastError really changes.
    Signal<> changed;

    bool isEnabled() const { return isEnabled_; }
    // Why the last switch failed; none after a success.
    const std::optional<std::string>& lastError() const { return lastError_; }

    // Once during launch: hides the dock when hiding is on, and otherwise puts back values
    // that a run which ended without restoring left behind.
    void applyAtLaunch();
    // The switch of Settings and the walkthrough. A switch-on that fails stays off; a
    // switch-off whose values the desktop refuses stays on. Either way lastError says why.
    void setEnabled(bool on);
    // Puts the user's values back; isEnabled and lastError stay as they are. False only when
    // the desktop refused the values, which leaves the dock hidden and the saved values kept
    // for the next attempt.
    bool restore();

private:
    // The three settings as read; absent where the user has none.
    struct DockPrefs {
        std::optional<bool> autohide;
        std::optional<double> delay;
        std::optional<double> timeModifier;
        bool operator==(const DockPrefs&) const = default;
    };
    // The settings exactly as the dock holds them, to take a refused change back.
    using RawValues = std::array<std::optional<Json>, 3>;

    bool apply();
    DockPrefs readCurrent() const;
    std::optional<double> doublePref(std::string_view key) const;
    bool saveOriginalsIfNeeded(const DockPrefs& current);
    std::optional<DockPrefs> savedOriginals() const;
    void write(const DockPrefs& prefs);
    RawValues rawValues() const;
    bool putBack(const RawValues& values);
    void relaunchDock();
    void setEnabledFlag(bool on);
    void setLastError(std::optional<std::string> message);

    Defaults& defaults_;
    NativeDockPreferences& dock_;
    bool isEnabled_;
    std::optional<std::string> lastError_;
};

}  // namespace quillbern
