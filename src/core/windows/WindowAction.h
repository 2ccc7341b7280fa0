#pragma once

#include <string>
#include <variant>

#include "core/foundation/Geometry.h"

namespace quillbern {

// One command for one window.
class WindowAction {
public:
    struct SetMinimized {
        bool minimized;
    };
    struct Place {
        RectTL frame;
        bool focusNow;
    };
    struct Raise {};
    struct Close {};

    static WindowAction setMinimized(bool minimized) { return WindowAction(SetMinimized{minimized}); }
    static WindowAction place(RectTL frame, bool focusNow) { return WindowAction(Place{frame, focusNow}); }
    static WindowAction raise() { return WindowAction(Raise{}); }
    static WindowAction close() { return WindowAction(Close{}); }

    const std::variant<SetMinimized, Place, Raise, Close>& kind() const { return kind_; }
    // For log lines: the case name, with its payload in parentheses.
    std::string text() const;

private:
    template <class Kind>
    explicit WindowAction(Kind kind) : kind_(kind) {}
    std::variant<SetMinimized, Place, Raise, Close> kind_;
};

}  // namespace quillbern
