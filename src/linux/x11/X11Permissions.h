#pragma once

#include "core/platform/Permissions.h"

namespace quillbern {

class X11Connection;

// Window access is trusted while an EWMH window manager runs (_NET_SUPPORTING_WM_CHECK
// on the root names a live window that names itself) and the connection works. There is
// no prompt and no stale grant to reset; capture is always allowed. Any thread.
class X11Permissions final : public Permissions {
public:
    explicit X11Permissions(X11Connection& connection);

    bool isWindowAccessTrusted() const override;
    Subscription onTrustChange(Task handler) override;
    bool requestWindowAccess() override;
    std::optional<CommandLine> staleEntryResetCommand() const override;
    bool isCaptureAllowed() const override;
    void requestCaptureAccess(std::function<void(bool)> done) override;

private:
    X11Connection& connection_;
};

}  // namespace quillbern
