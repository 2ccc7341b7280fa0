#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/EventMonitors.h"

class QObject;

namespace quillbern {

class X11Connection;
class X11InputState;
class X11Screens;
class X11UserTime;

// Global presses and key taps from the XInput2 raw events of X11InputState, told apart from presses on
// our own windows by the window under the pointer, which is asked for without waiting for
// the answers (one press after the other, so they are told in order), and by the presses
// Qt gave our windows, matched by their server time: a menu of ours that a click closed
// before the server was asked still took that click. Local presses from a Qt event filter,
// which also notes the time of every press, release and key our windows take in `userTime`.
class X11EventMonitors final : public EventMonitors {
public:
    // Which of our panels a native window is, if any.
    using PanelOfWindow = std::function<std::optional<std::uint64_t>(std::uint32_t window)>;

    X11EventMonitors(X11Connection& connection, X11InputState& input, const X11Screens& screens,
                     PanelOfWindow panelOfWindow, X11UserTime& userTime);
    ~X11EventMonitors() override;

    Subscription onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    Subscription onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    // Raw key presses of X11InputState, in our key codes; keys outside the table are left
    // out. X never stops a tap, so it tells only of key-downs. Refused without XInput 2.2.
    std::unique_ptr<KeyTap> tapKeyDown(std::function<void(const KeyTapEvent&)> handler) override;

private:
    void globalPress(MouseButtons button, std::uint32_t time);
    void placeNextPress();
    // Walks down from `window` towards the pointer, through the window manager's frames,
    // until one of `own` or the bottom; then `done(found)`.
    void findOwnWindow(std::uint32_t window, int depth, std::shared_ptr<const std::vector<std::uint32_t>> own,
                       std::function<void(bool)> done);
    static Subscription add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                            std::function<void(const MouseDown&)> handler);

    X11Connection& connection_;
    X11InputState& input_;
    const X11Screens& screens_;
    PanelOfWindow panelOfWindow_;
    Signal<const MouseDown&> global_;
    Signal<const MouseDown&> local_;
    Subscription presses_;
    std::unique_ptr<QObject> filter_;
    struct RawPress {
        MouseButtons button;
        std::uint32_t time;
    };
    std::deque<RawPress> pendingPresses_;
    std::deque<std::uint32_t> ownPresses_;
    bool placing_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
