#pragma once

#include <mutex>
#include <set>

#include "core/platform/InputState.h"

namespace quillbern {

// Pointer, buttons, keys and menus as a test sets them.
class SimInputState final : public InputState {
public:
    PointBL pointer() const override;
    MouseButtons pressedButtons() const override;
    std::uint32_t pressCount() const override;
    bool isKeyDown(KeyCode key) const override;
    bool isMenuOpen() const override;

    void setPointer(PointBL p);
    void setPressedButtons(MouseButtons buttons);
    // One press of a button: counts it (the wheel is not a button here).
    void press();
    void setPressCount(std::uint32_t count);
    void setKeyDown(KeyCode key, bool down);
    void setMenuOpen(bool open);

private:
    mutable std::mutex mutex_;
    PointBL pointer_;
    MouseButtons buttons_ = 0;
    std::uint32_t presses_ = 0;
    std::set<KeyCode> keys_;
    bool menuOpen_ = false;
};

}  // namespace quillbern
