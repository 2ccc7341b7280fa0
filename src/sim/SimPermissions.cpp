#include "sim/SimPermissions.h"

namespace quillbern {

bool SimPermissions::requestWindowAccess() {
    ++windowAccessPrompts_;
    if (grantsOnPrompt_) trusted_ = true;
    return trusted_;
}

Subscription SimPermissions::onTrustChange(Task handler) {
    if (!tellsTrustChanges_) return {};
    return trustChanged_.connect(std::move(handler));
}

void SimPermissions::setWindowAccessTrusted(bool trusted) {
    if (trusted_.exchange(trusted) != trusted) trustChanged_.emit();
}

std::optional<CommandLine> SimPermissions::staleEntryResetCommand() const {
    std::lock_guard lock(mutex_);
    return resetCommand_;
}

void SimPermissions::setStaleEntryResetCommand(std::optional<CommandLine> command) {
    std::lock_guard lock(mutex_);
    resetCommand_ = std::move(command);
}

void SimPermissions::requestCaptureAccess(std::function<void(bool)> done) {
    ++captureRequests_;
    done(captureAllowed_);
}

}  // namespace quillbern
