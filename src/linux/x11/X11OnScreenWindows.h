#pragma once

#include <chrono>
#include <functional>

#include "core/platform/ScreenGeometry.h"
#include "core/platform/WindowList.h"
#include "linux/x11/X11ClientTable.h"

namespace quillbern {

class X11Connection;

// The on-screen windows for readers on the main thread, read on its own connection as one
// batch: every request goes out before any reply is awaited, and the wait is bounded, so a
// server that does not answer makes the list unreadable rather than stalling the program.
// Main thread only.
class X11OnScreenWindows final : public WindowList {
public:
    // One tick of focus mode's follow.
    static constexpr std::chrono::milliseconds kTimeLimit{250};

    // `desktopSpace` tells where the primary display stands.
    X11OnScreenWindows(X11Connection& connection, std::function<DesktopSpace()> desktopSpace);

    std::optional<std::vector<ListedWindow>> onScreenWindows() const override;

private:
    X11Connection& connection_;
    X11ClientReader reader_;
    std::function<DesktopSpace()> desktopSpace_;
};

}  // namespace quillbern
