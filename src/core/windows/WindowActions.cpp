#include "core/windows/WindowActions.h"

#include <cmath>
#include <type_traits>

#include "core/windows/AccessFunctions.h"

namespace quillbern {

namespace {

// From the start of the action: how long a state change may take at most, and how long
// to wait before the first look.
struct SettleTimes {
    Duration floor;
    Duration cap;
};
constexpr SettleTimes kRestoreBeforeFocus{0.35, 1.0};
constexpr SettleTimes kLeaveFullScreen{0.3, 1.5};
constexpr SettleTimes kRestoreBeforePlacing{0.15, 1.0};

bool near(double a, double b) {
    return std::fabs(a - b) <= WindowActions::kTolerance;
}
bool sameOrigin(const RectTL& a, const RectTL& b) {
    return near(a.x, b.x) && near(a.y, b.y);
}
bool sameSize(const RectTL& a, const RectTL& b) {
    return near(a.width, b.width) && near(a.height, b.height);
}

}  // namespace

WindowActions::WindowActions(WindowAccess& access, const Clock& clock, const InputState& input, Hooks hooks)
    : access_(access), clock_(clock), input_(input), hooks_(std::move(hooks)) {}

void WindowActions::perform(const WindowAction& action, ElementRef window, Pid pid) {
    std::visit(
        [&](const auto& kind) {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, WindowAction::Raise>) {
                raise(window, pid);
            } else if constexpr (std::is_same_v<Kind, WindowAction::SetMinimized>) {
                setMinimized(window, pid, kind.minimized);
            } else if constexpr (std::is_same_v<Kind, WindowAction::Place>) {
                place(window, pid, kind.frame, kind.focusNow);
            } else {
                close(window);
            }
        },
        action.kind());
}

void WindowActions::raise(ElementRef window, Pid pid) {
    if (axBool(access_, window, Attribute::minimized) != true) {
        focusAndReconcile(window, pid);
        return;
    }
    const MediaTime cap = clock_.mediaNow() + kRestoreBeforeFocus.cap;
    access_.writeBool(window, Attribute::minimized, false);
    settle(window, Attribute::minimized, kRestoreBeforeFocus.floor, cap,
           [this, window, pid] { focusAndReconcile(window, pid); });
}

void WindowActions::setMinimized(ElementRef window, Pid pid, bool minimized) {
    const MediaTime cap = clock_.mediaNow() + kRestoreBeforeFocus.cap;
    access_.writeBool(window, Attribute::minimized, minimized);
    if (!minimized) {
        settle(window, Attribute::minimized, kRestoreBeforeFocus.floor, cap,
               [this, window, pid] { focusAndReconcile(window, pid); });
    }
    hooks_.scheduleReconcile();
}

void WindowActions::place(ElementRef window, Pid pid, RectTL frame, bool focusNow) {
    const std::uint64_t placement = ++lastPlacement_;
    latestPlacement_[window.value] = placement;
    auto applyThenReconcile = [this, window, pid, frame, focusNow, placement] {
        const Verification v{frame,   std::nullopt, window, pid, placement, kPlacementRetries, kHeldButtonDefers,
                             focusNow};
        if (!isLatest(v)) return;
        applyPlacement(v, focusNow);
        hooks_.scheduleReconcile();
    };
    const MediaTime now = clock_.mediaNow();
    if (axBool(access_, window, Attribute::fullScreen) == true) {
        access_.writeBool(window, Attribute::fullScreen, false);
        settle(window, Attribute::fullScreen, kLeaveFullScreen.floor, now + kLeaveFullScreen.cap, applyThenReconcile);
    } else if (axBool(access_, window, Attribute::minimized) == true) {
        access_.writeBool(window, Attribute::minimized, false);
        settle(window, Attribute::minimized, kRestoreBeforePlacing.floor, now + kRestoreBeforePlacing.cap,
               applyThenReconcile);
    } else {
        applyThenReconcile();
    }
}

void WindowActions::close(ElementRef window) {
    // A window without a close button stays as it is.
    if (const auto button = axElement(access_, window, Attribute::closeButton))
        access_.perform(*button, ElementAction::press);
    hooks_.scheduleReconcile();
}

void WindowActions::settle(ElementRef element, Attribute attribute, Duration floor, MediaTime cap, Task continuation) {
    hooks_.after(floor, [this, element, attribute, cap, continuation = std::move(continuation)] {
        settleTick(element, attribute, cap, continuation);
    });
}

void WindowActions::settleTick(ElementRef element, Attribute attribute, MediaTime cap, Task continuation) {
    // An unreadable attribute is waited out like one still set, up to the cap.
    if (clock_.mediaNow() >= cap || axBool(access_, element, attribute) == false) {
        continuation();
        return;
    }
    hooks_.after(kSettlePoll, [this, element, attribute, cap, continuation = std::move(continuation)] {
        settleTick(element, attribute, cap, continuation);
    });
}

void WindowActions::focusAndReconcile(ElementRef window, Pid pid) {
    focus(window, pid, true);
    hooks_.scheduleReconcile();
}

void WindowActions::focus(ElementRef window, Pid pid, bool retryAfterUnhide) {
    const ElementRef app = access_.appElement(pid);
    if (retryAfterUnhide && axBool(access_, app, Attribute::hidden) == true) {
        access_.writeBool(app, Attribute::hidden, false);
        hooks_.after(kUnhideWait, [this, window, pid] {
            focus(window, pid, false);
            hooks_.scheduleReconcile();
        });
        return;
    }
    access_.writeBool(app, Attribute::hidden, false);
    const bool fronted = access_.writeBool(app, Attribute::frontmost, true);
    access_.perform(window, ElementAction::raise);
    access_.writeBool(window, Attribute::main, true);
    access_.writeBool(window, Attribute::focused, true);
    if (!fronted) hooks_.activateApp(pid);
}

void WindowActions::writeFrame(ElementRef window, RectTL frame) {
    if (access_.writeFrame(window, frame)) return;
    // Position again after the size: some applications move a window while resizing it.
    access_.writePosition(window, frame.origin());
    access_.writeSize(window, frame.size());
    access_.writePosition(window, frame.origin());
}

void WindowActions::applyPlacement(Verification v, bool focusNow) {
    v.before = axFrame(access_, v.window);
    v.defersLeft = kHeldButtonDefers;
    writeFrame(v.window, v.target);
    if (focusNow) focus(v.window, v.pid, true);
    hooks_.after(kVerifyDelay, [this, v] { verifyPlacement(v); });
}

void WindowActions::centreOn(const Verification& v, const RectTL& now) {
    const RectTL centred{v.target.midX() - now.width / 2, v.target.midY() - now.height / 2, now.width, now.height};
    // With its size, so that no window manager takes a move alone for a resize.
    if (!access_.writeFrame(v.window, centred)) access_.writePosition(v.window, centred.origin());
}

bool WindowActions::isLatest(const Verification& v) const {
    const auto latest = latestPlacement_.find(v.window.value);
    return latest != latestPlacement_.end() && latest->second == v.placement;
}

void WindowActions::verifyPlacement(Verification v) {
    // A newer placement of the window checks itself; correcting towards this one would
    // undo it.
    if (!isLatest(v)) return;
    if (!checkPlacement(v)) latestPlacement_.erase(v.window.value);
}

bool WindowActions::checkPlacement(Verification v) {
    // The user is dragging: checking now would fight the drag.
    if ((input_.pressedButtons() & kLeftButton) != 0) {
        if (v.defersLeft == 0) return false;
        --v.defersLeft;
        hooks_.after(kHeldButtonWait, [this, v] { verifyPlacement(v); });
        return true;
    }
    bool checksAgain = false;
    const auto reapply = [&](bool withFocus) {
        Verification next = v;
        --next.retriesLeft;
        applyPlacement(next, withFocus);
        checksAgain = true;
    };
    const std::optional<RectTL> now = axFrame(access_, v.window);
    if (!now) {
        if (v.retriesLeft > 0) reapply(v.focusIntended);
        return checksAgain;
    }
    const bool positionHolds = sameOrigin(*now, v.target);
    const bool sizeHolds = sameSize(*now, v.target);
    if (positionHolds && sizeHolds) return false;

    const bool didNotReact = !v.before || (sameOrigin(*now, *v.before) && sameSize(*now, *v.before));
    const bool moved = v.before && !sameOrigin(*now, *v.before);
    const bool retries = v.retriesLeft > 0;
    if (didNotReact) {
        if (retries) {
            reapply(v.focusIntended);
        } else if (positionHolds) {
            centreOn(v, *now);  // the size was refused
        } else if (sizeHolds) {
            access_.writePosition(v.window, v.target.origin());  // the position was refused
        }
    } else if (positionHolds) {
        // Moved, or only resized, and the position holds: the size was refused.
        if (retries) {
            reapply(false);
        } else {
            centreOn(v, *now);
        }
    } else if (!moved && sizeHolds) {
        if (retries) {
            reapply(false);
        } else {
            access_.writePosition(v.window, v.target.origin());
        }
    }
    hooks_.scheduleReconcile();
    return checksAgain;
}

}  // namespace quillbern
