#include "core/windows/LoginItem.h"

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace {

constexpr std::string_view kOpenAtLoginKey = "openAtLogin";
constexpr std::string_view kRestoreAttemptedKey = "loginItemRestoreAttempted";

}  // namespace

LoginItem::LoginItem(Defaults& defaults, LoginService& service, Launcher& launcher)
    : defaults_(defaults), service_(service), launcher_(launcher), status_(service.status()) {}

void LoginItem::restoreIntentIfNeeded() {
    if (status_ == LoginStatus::enabled) {
        defaults_.set(kRestoreAttemptedKey, true);
        return;
    }
    if (!defaults_.boolValue(kOpenAtLoginKey).value_or(false)) return;
    if (status_ != LoginStatus::notRegistered) return;
    if (defaults_.boolValue(kRestoreAttemptedKey).value_or(false)) return;
    // Once per installation, even when it fails: a registration the user removed by other
    // means is not forced back at every launch.
    defaults_.set(kRestoreAttemptedKey, true);
    if (const auto registered = service_.registerApp(); !registered) humanMessage(registered.error(), false);
    refresh();
}

void LoginItem::refresh() {
    setStatus(service_.status());
    switch (status_) {
        case LoginStatus::notRegistered:
        case LoginStatus::notFound:
            if (lastAsked_ != true) setLastError(std::nullopt);
            defaults_.set(kOpenAtLoginKey, false);
            break;
        case LoginStatus::enabled:
            if (lastAsked_ != false) setLastError(std::nullopt);
            defaults_.set(kOpenAtLoginKey, true);
            defaults_.set(kRestoreAttemptedKey, true);
            break;
        case LoginStatus::requiresApproval:
            // The wish stands until the user decides.
            break;
    }
}

void LoginItem::setEnabled(bool on) {
    setLastError(std::nullopt);
    lastAsked_ = on;
    defaults_.set(kOpenAtLoginKey, on);
    if (!on) {
        if (const auto unregistered = service_.unregisterApp(); !unregistered) {
            setLastError(humanMessage(unregistered.error(), true));
        }
        refresh();
        return;
    }
    defaults_.set(kRestoreAttemptedKey, true);
    if (const auto registered = service_.registerApp(); !registered) {
        setLastError(humanMessage(registered.error(), true));
    }
    refresh();
    // Waiting for the user's approval is no failure: send them where they give it.
    if (status_ == LoginStatus::requiresApproval) {
        setLastError(std::nullopt);
        launcher_.openSystemSettings(SystemSettingsPage::loginItems);
    }
}

std::string LoginItem::humanMessage(const Error& error, bool announce) const {
    log("login item — ", escapedForLog(error.message), " (", escapedForLog(error.domain), " ", error.code, ")");
    if (!announce) return {};
    // The system's reason tells what stands in the way, a file where a folder should be, say.
    return trf(
        "Quillbern couldn't change its entry in your startup applications (%@). Open your desktop's "
        "startup applications settings to set it by hand.",
        error.message);
}

void LoginItem::setStatus(LoginStatus status) {
    if (status_ == status) return;
    status_ = status;
    changed.emit();
}

void LoginItem::setLastError(std::optional<std::string> message) {
    if (lastError_ == message) return;
    lastError_ = std::move(message);
    changed.emit();
}

}  // namespace quillbern
