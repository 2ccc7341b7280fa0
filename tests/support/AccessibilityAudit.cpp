#include "support/AccessibilityAudit.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>

namespace quillbern::testing {

namespace {

bool isInside(const QWidget* widget, const QWidget& pane) {
    return widget && (widget == &pane || pane.isAncestorOf(widget));
}

// A choice of an exclusive group that is not chosen: Tab lands on the chosen one, and the
// arrow keys move from there.
bool isReachedByArrows(const QWidget& widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(&widget);
    if (!button || button->isChecked()) return false;
    return button->autoExclusive() || (button->group() && button->group()->exclusive());
}

// What Tab can land on: shown, enabled, taking Tab focus itself rather than through a proxy.
bool isReachable(const QWidget& widget) {
    return widget.isVisible() && widget.isEnabled() && (widget.focusPolicy() & Qt::TabFocus) &&
           widget.focusProxy() == nullptr && !isReachedByArrows(widget);
}

std::vector<QWidget*> reachableWidgets(QWidget& pane) {
    std::vector<QWidget*> found;
    if (isReachable(pane)) found.push_back(&pane);
    for (QWidget* child : pane.findChildren<QWidget*>())
        if (isReachable(*child)) found.push_back(child);
    return found;
}

QString nameOf(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

std::string describe(QWidget* widget, const QRect& place) {
    QString name = nameOf(widget);
    if (name.isEmpty()) name = widget->objectName();
    return QStringLiteral("%1 \"%2\" at %3,%4")
        .arg(QString::fromLatin1(widget->metaObject()->className()), name)
        .arg(place.x())
        .arg(place.y())
        .toStdString();
}

void pressTab(QWidget& window) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &release);
}

// The first reachable widget in the window's focus chain that lies in the pane.
QWidget* firstInChain(QWidget& pane, const std::vector<QWidget*>& reachable) {
    QWidget* widget = pane.window();
    for (std::size_t steps = 0; steps < 10000; ++steps) {
        if (std::find(reachable.begin(), reachable.end(), widget) != reachable.end()) return widget;
        widget = widget->nextInFocusChain();
        if (widget == pane.window()) break;
    }
    return nullptr;
}

std::vector<QWidget*> walk(QWidget& pane, const std::vector<QWidget*>& reachable) {
    std::vector<QWidget*> visited;
    QWidget* first = firstInChain(pane, reachable);
    if (!first) return visited;
    showWithKeyboard(pane);
    first->setFocus(Qt::TabFocusReason);
    visited.push_back(QApplication::focusWidget());
    for (std::size_t steps = 0; steps <= reachable.size() + 1; ++steps) {
        pressTab(*pane.window());
        QWidget* now = QApplication::focusWidget();
        if (!isInside(now, pane) || now == visited.front()) break;
        visited.push_back(now);
    }
    return visited;
}

}  // namespace

void showWithKeyboard(QWidget& widget) {
    QWidget* window = widget.window();
    if (!window->isVisible()) window->show();
    window->activateWindow();
    QCoreApplication::processEvents();
    if (QApplication::activeWindow() != window) QApplication::setActiveWindow(window);
}

std::vector<QWidget*> tabOrder(QWidget& pane) {
    showWithKeyboard(pane);
    return walk(pane, reachableWidgets(pane));
}

std::vector<std::string> accessibilityProblems(QWidget& pane) {
    showWithKeyboard(pane);
    std::vector<std::string> problems;
    const std::vector<QWidget*> reachable = reachableWidgets(pane);
    // Places are taken before the walk: focus may scroll the pane.
    std::map<QWidget*, QRect> places;
    for (QWidget* widget : reachable)
        places[widget] = QRect(widget->mapTo(pane.window(), QPoint(0, 0)), widget->size());
    for (QWidget* widget : reachable)
        if (nameOf(widget).isEmpty()) problems.push_back("no accessible name: " + describe(widget, places[widget]));

    const std::vector<QWidget*> visited = walk(pane, reachable);
    std::map<QWidget*, int> visits;
    for (QWidget* widget : visited)
        ++visits[widget];
    for (QWidget* widget : reachable) {
        const int count = visits.contains(widget) ? visits[widget] : 0;
        if (count == 0) problems.push_back("Tab never reaches " + describe(widget, places[widget]));
        if (count > 1) problems.push_back("Tab visits twice " + describe(widget, places[widget]));
    }
    for (std::size_t i = 1; i < visited.size(); ++i) {
        if (!places.contains(visited[i - 1]) || !places.contains(visited[i])) continue;
        const QRect from = places[visited[i - 1]];
        const QRect to = places[visited[i]];
        const bool sameLine = to.top() < from.bottom() && from.top() < to.bottom();
        const bool forward = sameLine ? to.left() >= from.left() : to.top() > from.top();
        if (!forward)
            problems.push_back("Tab goes back from " + describe(visited[i - 1], from) + " to " +
                               describe(visited[i], to));
    }
    return problems;
}

}  // namespace quillbern::testing
