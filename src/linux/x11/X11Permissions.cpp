#include "linux/x11/X11Permissions.h"

#include "linux/x11/X11Connection.h"

namespace quillbern {

X11Permissions::X11Permissions(X11Connection& connection) : connection_(connection) {}

bool X11Permissions::isWindowAccessTrusted() const {
    const xcb_atom_t check = connection_.atom("_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE) return false;
    const auto named = connection_.cardinals(connection_.root(), check);
    // A manager that died leaves the root's property behind: its window must still
    // exist and name itself.
    const auto self = named && named->size() == 1 ? connection_.cardinals(named->front(), check) : std::nullopt;
    connection_.drainSoon();
    return self && self->size() == 1 && self->front() == named->front();
}

Subscription X11Permissions::onTrustChange(Task) {
    return {};
}

bool X11Permissions::requestWindowAccess() {
    return isWindowAccessTrusted();
}

std::optional<CommandLine> X11Permissions::staleEntryResetCommand() const {
    return std::nullopt;
}

bool X11Permissions::isCaptureAllowed() const {
    return true;
}

void X11Permissions::requestCaptureAccess(std::function<void(bool)> done) {
    done(true);
}

}  // namespace quillbern
