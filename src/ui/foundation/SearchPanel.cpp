#include "ui/foundation/SearchPanel.h"

#include <QKeyEvent>
#include <QWindow>

namespace quillbern {

namespace {

// Modifiers alone are no key press of a palette's.
bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_Mode_switch:
            return true;
        default:
            return false;
    }
}

}  // namespace

SearchPanel::SearchPanel(const PanelStyle& style, PanelContent content, const KeyboardLayout& layout)
    : FloatingPanel(style, std::move(content)), layout_(layout) {}

void SearchPanel::makeKey() {
    if (!isVisible()) show();
    // The window manager acts only on a window it manages, which it shows first.
    if (windowHandle() && windowHandle()->isExposed()) {
        requestActivation();
    } else {
        activationPending_ = true;
    }
}

KeyEvent SearchPanel::keyEventOf(const QKeyEvent& event) const {
    const Qt::KeyboardModifiers held = event.modifiers();
    return {layout_.keyCodeForScanCode(event.nativeScanCode()),
            ownWindowFlags(held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                           held.testFlag(Qt::AltModifier), held.testFlag(Qt::MetaModifier))};
}

bool SearchPanel::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        // A copy: the handler may close this panel.
        if (const Task resign = keys_.onResignKey) resign();
    }
    return FloatingPanel::event(event);
}

void SearchPanel::keyPressEvent(QKeyEvent* event) {
    if (isModifierKey(event->key())) {
        FloatingPanel::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (const Task cancel = keys_.onCancel) cancel();
        event->accept();
        return;
    }
    if (const auto onKey = keys_.onKey; onKey && onKey(keyEventOf(*event))) {
        event->accept();
        return;
    }
    FloatingPanel::keyPressEvent(event);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle()) {
        if (event->type() == QEvent::KeyPress) {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            const auto equivalent = keys_.onKeyEquivalent;
            if (equivalent && offersKeyEquivalents() && key.modifiers().testFlag(Qt::ControlModifier) &&
                !isModifierKey(key.key()) && equivalent(keyEventOf(key)))
                return true;
        } else if (event->type() == QEvent::Expose && activationPending_ && windowHandle()->isExposed()) {
            activationPending_ = false;
            requestActivation();
        }
    }
    return FloatingPanel::eventFilter(watched, event);
}

}  // namespace quillbern
