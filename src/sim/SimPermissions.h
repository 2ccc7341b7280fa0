#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "core/platform/Permissions.h"

namespace quillbern {

// Permissions a test grants and revokes at any moment; window access trusted and capture
// allowed at first. Prompts answer as scripted and are counted.
class SimPermissions final : public Permissions {
public:
    bool isWindowAccessTrusted() const override { return trusted_; }
    bool requestWindowAccess() override;
    std::optional<CommandLine> staleEntryResetCommand() const override;
    bool isCaptureAllowed() const override { return captureAllowed_; }
    void requestCaptureAccess(std::function<void(bool)> done) override;

    void setWindowAccessTrusted(bool trusted) { trusted_ = trusted; }
    // The user's answer to the next window-access prompts.
    void setGrantsWindowAccessOnPrompt(bool grants) { grantsOnPrompt_ = grants; }
    void setStaleEntryResetCommand(std::optional<CommandLine> command);
    int windowAccessPrompts() const { return windowAccessPrompts_; }

    void setCaptureAllowed(bool allowed) { captureAllowed_ = allowed; }
    // The user's answer to the next capture requests.
    void setGrantsCaptureOnRequest(bool grants) { grantsCaptureOnRequest_ = grants; }
    int captureRequests() const { return captureRequests_; }

private:
    std::atomic<bool> trusted_{true};
    std::atomic<bool> grantsOnPrompt_{false};
    std::atomic<int> windowAccessPrompts_{0};
    std::atomic<bool> captureAllowed_{true};
    std::atomic<bool> grantsCaptureOnRequest_{false};
    std::atomic<int> captureRequests_{0};
    mutable std::mutex mutex_;
    std::optional<CommandLine> resetCommand_;
};

}  // namespace quillbern
