#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "core/foundation/Signal.h"
#include "core/platform/Permissions.h"

namespace quillbern {

// Permissions a test grants and revokes at any moment; window access trusted and capture
// allowed at first. Prompts answer as scripted and are counted. Trust changes go untold,
// unless the test makes the system one that tells.
class SimPermissions final : public Permissions {
public:
    bool isWindowAccessTrusted() const override {
        ++trustReads_;
        return trusted_;
    }
    Subscription onTrustChange(Task handler) override;
    bool requestWindowAccess() override;
    std::optional<CommandLine> staleEntryResetCommand() const override;
    bool isCaptureAllowed() const override { return captureAllowed_; }
    void requestCaptureAccess(std::function<void(bool)> done) override;

    // [main] Tells the trust listeners when the system tells.
    void setWindowAccessTrusted(bool trusted);
    void setTellsTrustChanges(bool tells) { tellsTrustChanges_ = tells; }
    int trustReads() const { return trustReads_; }
    // The user's answer to the next window-access prompts.
    void setGrantsWindowAccessOnPrompt(bool grants) { grantsOnPrompt_ = grants; }
    void setStaleEntryResetCommand(std::optional<CommandLine> command);
    int windowAccessPrompts() const { return windowAccessPrompts_; }

    void setCaptureAllowed(bool allowed) { captureAllowed_ = allowed; }
    int captureRequests() const { return captureRequests_; }

private:
    std::atomic<bool> trusted_{true};
    std::atomic<bool> grantsOnPrompt_{false};
    std::atomic<int> windowAccessPrompts_{0};
    std::atomic<bool> captureAllowed_{true};
    std::atomic<int> captureRequests_{0};
    mutable std::mutex mutex_;
    std::optional<CommandLine> resetCommand_;
    std::atomic<bool> tellsTrustChanges_{false};
    mutable std::atomic<int> trustReads_{0};
    Signal<> trustChanged_;
};

}  // namespace quillbern
