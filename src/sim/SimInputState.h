#pragma once

#include <mutex>
#include <set>

#include "core/foundation/Signal.h"
#include "core/platform/InputState.h"

namespace quillbern {

// Pointer, buttons, keys and menus as a test sets them. Moving the pointer tells the
// motion listeners at once, unless the test made the system one that does not tell.
class SimInputState final : public InputState {
public:
    PointBL pointer() const override;
    MouseButtons pressedButtons() const override;
    std::uint32_t pressCount() const override;
    bool isKeyDown(KeyCode key) const override;
    bool isMenuOpen() const override;
    Subscription onPointerMotion(Task handler) override;

    void setPointer(PointBL p);
    void setPressedButtons(MouseButtons buttons);
    // One press of a button: counts it (the wheel is not a button here).
    void press();
    void setPressCount(std::uint32_t count);
    void setKeyDown(KeyCode key, bool down);
    void setMenuOpen(bool open);
    void setReportsMotion(bool reports) { reportsMotion_ = reports; }
    // How often the pointer was read: a resting tick reads nothing.
    int pointerReads() const;
    std::size_t motionListeners() const { return moved_.connectionCount(); }

private:
    mutable std::mutex mutex_;
    PointBL pointer_;
    MouseButtons buttons_ = 0;
    std::uint32_t presses_ = 0;
    std::set<KeyCode> keys_;
    bool menuOpen_ = false;
    mutable int pointerReads_ = 0;
    bool reportsMotion_ = true;
    Signal<> moved_;
};

}  // namespace quillbern
