#include "sim/SimInputState.h"

namespace quillbern {

PointBL SimInputState::pointer() const {
    std::lock_guard lock(mutex_);
    ++pointerReads_;
    return pointer_;
}

int SimInputState::pointerReads() const {
    std::lock_guard lock(mutex_);
    return pointerReads_;
}

Subscription SimInputState::onPointerMotion(Task handler) {
    if (!reportsMotion_) return {};
    return moved_.connect(std::move(handler));
}

MouseButtons SimInputState::pressedButtons() const {
    std::lock_guard lock(mutex_);
    return buttons_;
}

std::uint32_t SimInputState::pressCount() const {
    std::lock_guard lock(mutex_);
    return presses_;
}

bool SimInputState::isKeyDown(KeyCode key) const {
    std::lock_guard lock(mutex_);
    return keys_.contains(key);
}

bool SimInputState::isMenuOpen() const {
    std::lock_guard lock(mutex_);
    return menuOpen_;
}

void SimInputState::setPointer(PointBL p) {
    {
        std::lock_guard lock(mutex_);
        if (p == pointer_) return;
        pointer_ = p;
    }
    moved_.emit();
}

void SimInputState::setPressedButtons(MouseButtons buttons) {
    std::lock_guard lock(mutex_);
    buttons_ = buttons;
}

void SimInputState::press() {
    std::lock_guard lock(mutex_);
    ++presses_;  // unsigned: wraps like the real counter
}

void SimInputState::setPressCount(std::uint32_t count) {
    std::lock_guard lock(mutex_);
    presses_ = count;
}

void SimInputState::setKeyDown(KeyCode key, bool down) {
    std::lock_guard lock(mutex_);
    if (down) {
        keys_.insert(key);
    } else {
        keys_.erase(key);
    }
}

void SimInputState::setMenuOpen(bool open) {
    std::lock_guard lock(mutex_);
    menuOpen_ = open;
}

}  // namespace quillbern
