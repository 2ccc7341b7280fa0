#include "ui/shell/ShellWindowContext.h"

#include <QShortcut>
#include <QWidget>
#include <cmath>

#include "ui/foundation/QtX11.h"

namespace quillbern {

namespace {

void addKey(QWidget& window, QKeyCombination key, std::function<void()> action) {
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, std::move(action));
}

}  // namespace

void installWindowKeys(QWidget& window, const ShellWindowContext& context) {
    addKey(window, QKeyCombination(Qt::ControlModifier, Qt::Key_Comma), context.openSettings);
    addKey(window, QKeyCombination(Qt::ControlModifier, Qt::Key_W), [&window] { window.close(); });
    addKey(window, QKeyCombination(Qt::ControlModifier, Qt::Key_Q), context.quit);
}

QRect desktopRect(const ShellWindowContext& context, const RectBL& frame) {
    const RectTL desktop = context.desktopSpace().toDesktop(frame);
    return QRect(static_cast<int>(std::lround(desktop.x)), static_cast<int>(std::lround(desktop.y)),
                 static_cast<int>(std::lround(desktop.width)), static_cast<int>(std::lround(desktop.height)));
}

void bringForward(QWidget& window) {
    // One left open on another desktop comes to this one; a window shown anew lands here.
    if (window.isVisible()) moveToCurrentDesktop(window);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace quillbern
