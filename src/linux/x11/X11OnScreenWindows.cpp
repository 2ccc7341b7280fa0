#include "linux/x11/X11OnScreenWindows.h"

#include "linux/x11/X11Connection.h"

namespace quillbern {

X11OnScreenWindows::X11OnScreenWindows(X11Connection& connection, std::function<DesktopSpace()> desktopSpace)
    : connection_(connection),
      reader_(connection.connection(), X11ClientReader::Reading::places),
      desktopSpace_(std::move(desktopSpace)) {}

std::optional<std::vector<ListedWindow>> X11OnScreenWindows::onScreenWindows() const {
    const std::optional<ClientTable> table =
        reader_.read(desktopSpace_(), std::chrono::steady_clock::now() + kTimeLimit);
    // Events that arrived during the wait are the other main-thread readers'.
    connection_.drainSoon();
    if (!table) return std::nullopt;
    return onScreenList(*table);
}

}  // namespace quillbern
