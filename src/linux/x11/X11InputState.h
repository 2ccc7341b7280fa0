#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/InputState.h"

namespace quillbern {

class X11Connection;
class X11Screens;

// Pointer, buttons and keys read from the X server; presses are counted from XInput2 raw
// events on the root window, which arrive whichever client gets the click. While someone
// listens for motion, motion events keep a copy of the pointer's position current
// (asking the server where it went without waiting for the answer), and pointer()
// answers from it; otherwise pointer() asks the server and waits, as pointerNow() always does.
class X11InputState final : public InputState {
public:
    X11InputState(X11Connection& connection, const X11Screens& screens);
    ~X11InputState() override;

    PointBL pointer() const override;
    PointBL pointerNow() const override;
    MouseButtons pressedButtons() const override;
    std::uint32_t pressCount() const override;
    bool isKeyDown(KeyCode key) const override;
    // A mapped override-redirect window of another process typed as a menu, as the
    // root's map and unmap events tell.
    bool isMenuOpen() const override;
    Subscription onPointerMotion(Task handler) override;

    // False when the server lacks XInput 2.2: no press counting, no global monitors.
    bool watchesPresses() const { return xinputOpcode_ != 0; }
    // [main] Every press of a button that is not the wheel, by its kind, with the server's
    // time of it (the time the client that gets the press sees too).
    [[nodiscard]] Subscription onPress(std::function<void(MouseButtons button, std::uint32_t time)> handler);
    // [main] Every key press as its X keycode, whichever client has the keyboard, also while
    // another holds a grab; raw key events are asked for only while someone listens. Empty
    // without XInput 2.2.
    [[nodiscard]] Subscription onKeyPress(std::function<void(std::uint8_t keycode)> handler);

private:
    // Raw presses always; raw motion and raw key presses while someone listens.
    void selectRawEvents();
    void motionListenerGone();
    void keyListenerGone();
    // Asks where the pointer is, one question at a time; motion meanwhile asks again.
    void askForPointer();
    PointBL queryPointer() const;
    void followMenus();
    // Reads a newly mapped override-redirect window's type and process.
    void checkMenu(std::uint32_t window);

    X11Connection& connection_;
    const X11Screens& screens_;
    std::uint8_t xinputOpcode_ = 0;
    std::atomic<std::uint32_t> presses_{0};
    // Bit n: X button n is down, as the raw events tell.
    std::atomic<std::uint32_t> downButtons_{0};
    Signal<MouseButtons, std::uint32_t> pressed_;
    Signal<> moved_;
    Signal<std::uint8_t> keyPressed_;
    bool followsMotion_ = false;
    bool followsKeys_ = false;
    bool asking_ = false;
    bool askAgain_ = false;
    mutable std::mutex pointerMutex_;
    PointBL pointer_;
    std::array<std::uint32_t, 3> menuTypes_;
    std::set<std::uint32_t> mappedOverrides_;
    std::set<std::uint32_t> menus_;
    std::atomic<int> openMenus_{0};
    Subscription menuEvents_;
    Subscription events_;
    Lifetime lifetime_;
};

}  // namespace quillbern
