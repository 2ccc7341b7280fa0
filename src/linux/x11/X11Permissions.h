#pragma once

#include <atomic>
#include <cstdint>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/Permissions.h"

namespace quillbern {

class X11Connection;

// Window access is trusted while an EWMH window manager runs (_NET_SUPPORTING_WM_CHECK
// on the root names a live window that names itself) and the connection works. The
// answer is kept current by the root's property changes and by the check window's own
// changes and destruction, each checked again without waiting for the server. There is
// no prompt and no stale grant to reset; capture is always allowed. Any thread; trust
// listeners on the main thread.
class X11Permissions final : public Permissions {
public:
    // Checks once, waiting for the answer; then follows the changes.
    explicit X11Permissions(X11Connection& connection);
    ~X11Permissions() override;

    bool isWindowAccessTrusted() const override;
    Subscription onTrustChange(Task handler) override;
    bool requestWindowAccess() override;
    std::optional<CommandLine> staleEntryResetCommand() const override;
    bool isCaptureAllowed() const override;
    void requestCaptureAccess(std::function<void(bool)> done) override;

private:
    // Asks the root which window is the manager's, then that window whether it names itself.
    void checkAgain();
    void watchCheckWindow(std::uint32_t window);
    void conclude(bool trusted);

    X11Connection& connection_;
    std::uint32_t checkAtom_;
    std::uint32_t checkWindow_ = 0;
    std::atomic<bool> trusted_{false};
    // A change arrived while a check was under way: its answer may be old.
    bool checking_ = false;
    bool checkAgain_ = false;
    Signal<> changed_;
    Subscription events_;
    Lifetime lifetime_;
};

}  // namespace quillbern
