#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

namespace quillbern::testing {

// A key typed as the window system delivers it: to the window, which hands it to its
// focus widget. Returns whether the press was accepted.
inline bool type(QWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, std::uint32_t scanCode = 0,
                 const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, scanCode, 0, 0, text);
    QCoreApplication::sendEvent(window, &release);
    return press.isAccepted();
}

}  // namespace quillbern::testing
