#pragma once

#include "core/platform/WindowList.h"

namespace quillbern {

class X11Connection;
class X11Screens;

// The managed client windows as the window manager stacks them (EWMH), front to back,
// without minimised, unmapped and desktop windows. Bounds are a window's outer frame,
// decorations included, in top-left global space; the window number is the X window id.
class X11WindowList final : public WindowList {
public:
    X11WindowList(X11Connection& connection, const X11Screens& screens);

    std::optional<std::vector<ListedWindow>> onScreenWindows() const override;

private:
    X11Connection& connection_;
    const X11Screens& screens_;
};

}  // namespace quillbern
