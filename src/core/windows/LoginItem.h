#pragma once

#include <optional>
#include <string>

#include "core/foundation/Defaults.h"
#include "core/foundation/Signal.h"
#include "core/platform/Launcher.h"
#include "core/platform/LoginService.h"

namespace quillbern {

// Opening the program at login. The user's wish ("openAtLogin") is kept apart from what the
// login service reports, and follows the service once it answers: a registration that went
// missing while the wish is on is made again once per installation, on its own. Main thread.
class LoginItem {
public:
    LoginItem(Defaults& defaults, LoginService& service, Launcher& launcher);
    LoginItem(const LoginItem&) = delete;
    LoginItem& operator=(const LoginItem&) = delete;

    // Told when status or lastError really changes.
    Signal<> changed;

    // As last read from the service.
    LoginStatus status() const { return status_; }
    // Why the last change failed.
    const std::optional<std::string>& lastError() const { return lastError_; }

    // Once during launch; never shows a message.
    void restoreIntentIfNeeded();
    // Reads the status again and brings the wish in line with it.
    void refresh();
    // The switch of Settings and the walkthrough.
    void setEnabled(bool on);

private:
    // Logs the error; the text for the user when it is to be shown, empty otherwise.
    std::string humanMessage(const Error& error, bool announce) const;
    void setStatus(LoginStatus status);
    void setLastError(std::optional<std::string> message);

    Defaults& defaults_;
    LoginService& service_;
    Launcher& launcher_;
    LoginStatus status_;
    std::optional<std::string> lastError_;
    // What the switch was last set to; a message about that change outlives a refresh
    // that still shows the change undone.
    std::optional<bool> lastAsked_;
};

}  // namespace quillbern
