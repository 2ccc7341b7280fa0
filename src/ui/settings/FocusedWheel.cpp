#include "ui/settings/FocusedWheel.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace quillbern {

namespace {

// The control under the pointer that would take the wheel for its value: the widget there or
// one it is part of (a stepper's text field), within the window.
QWidget* valueControlAt(QWidget* widget) {
    for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
        if (FocusedWheel::changesValueUnderWheel(*widget)) return widget;
    }
    return nullptr;
}

// As Qt passes a wheel event on that a widget left: up its parents until one takes it.
void passToParents(const QWidget& control, const QWidget& window, const QWheelEvent& wheel) {
    for (QWidget* parent = control.parentWidget(); parent; parent = parent->parentWidget()) {
        if (parent->isEnabled()) {
            QWheelEvent passed(parent->mapFrom(&window, wheel.position()), wheel.globalPosition(), wheel.pixelDelta(),
                               wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(), wheel.inverted(),
                               wheel.source(), wheel.pointingDevice());
            passed.setTimestamp(wheel.timestamp());
            QCoreApplication::sendEvent(parent, &passed);
            if (passed.isAccepted()) return;
        }
        if (parent->isWindow()) return;
    }
}

}  // namespace

FocusedWheel::FocusedWheel(QWidget& root) : QObject(&root), root_(root) {}

void FocusedWheel::watchWindow() {
    // Installed again, a filter moves to the front of the list and still runs once.
    if (QWindow* window = root_.window()->windowHandle()) window->installEventFilter(this);
}

bool FocusedWheel::changesValueUnderWheel(const QWidget& widget) {
    // A scroll bar's value is what the wheel scrolls.
    if (qobject_cast<const QScrollBar*>(&widget)) return false;
    return qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QAbstractSlider*>(&widget) || qobject_cast<const QTabBar*>(&widget);
}

bool FocusedWheel::eventFilter(QObject*, QEvent* event) {
    // An open pop-up takes the wheel itself.
    if (event->type() != QEvent::Wheel || QApplication::activePopupWidget()) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* window = root_.window();
    QWidget* control = valueControlAt(window->childAt(wheel->position().toPoint()));
    if (!control || !root_.isAncestorOf(control) || control->hasFocus()) return false;
    passToParents(*control, *window, *wheel);
    return true;
}

}  // namespace quillbern
