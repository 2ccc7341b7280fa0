#include "support/LayoutAudit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <cmath>

namespace quillbern::testing {

namespace {

QString textOf(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
    return {};
}

std::string describe(const QWidget& widget) {
    const QString text = textOf(widget);
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(widget.metaObject()->className()),
             text.isEmpty() ? widget.accessibleName() : text.simplified())
        .toStdString();
}

std::string sizes(const QSize& needed, const QSize& has) {
    return QStringLiteral(" needs %1x%2, has %3x%4")
        .arg(needed.width())
        .arg(needed.height())
        .arg(has.width())
        .arg(has.height())
        .toStdString();
}

// The room a label's text takes in its width, wrapped if the label wraps.
QSize textSize(const QLabel& label) {
    const QRect room =
        label.contentsRect().marginsRemoved(QMargins(label.margin(), label.margin(), label.margin(), label.margin()));
    if (label.textFormat() == Qt::RichText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()))) {
        QTextDocument document;
        document.setDefaultFont(label.font());
        document.setDocumentMargin(0);
        document.setHtml(label.text());
        if (label.wordWrap()) document.setTextWidth(room.width());
        return {int(std::ceil(document.idealWidth())), int(std::ceil(document.size().height()))};
    }
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return label.fontMetrics().boundingRect(room, flags, label.text()).size();
}

bool showsText(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) return !label->text().isEmpty();
    return !textOf(widget).isEmpty();
}

bool isControl(const QWidget& widget) {
    if (qobject_cast<const QScrollBar*>(&widget)) return false;
    return qobject_cast<const QLabel*>(&widget) || qobject_cast<const QAbstractButton*>(&widget) ||
           qobject_cast<const QAbstractSlider*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QAbstractSpinBox*>(&widget);
}

bool isScrollingViewport(const QWidget& widget) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(widget.parentWidget());
    return area && area->viewport() == &widget;
}

// Whether a widget holding it cuts the widget off; a scrolling viewport only at its sides.
bool isCutOff(const QWidget& widget, const QWidget& window) {
    QRect place = widget.rect();
    for (const QWidget* child = &widget; child != &window && child->parentWidget(); child = child->parentWidget()) {
        const QWidget& parent = *child->parentWidget();
        place.translate(child->pos());
        if (place.left() < 0 || place.right() >= parent.width()) return true;
        if (isScrollingViewport(parent)) {
            place = place.intersected(QRect(0, 0, parent.width(), parent.height()));
            if (place.isEmpty()) return false;
        } else if (place.top() < 0 || place.bottom() >= parent.height()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> clippedTexts(QWidget& window) {
    // Laid out as the event loop would by now: one round of layout requests per level of
    // nesting, until a round moves nothing.
    for (std::vector<QRect> before;;) {
        QCoreApplication::processEvents();
        std::vector<QRect> now;
        for (const QWidget* widget : window.findChildren<QWidget*>())
            now.push_back(widget->geometry());
        if (now == before) break;
        before = std::move(now);
    }
    std::vector<std::string> problems;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !isControl(*widget)) continue;
        if (isCutOff(*widget, window)) {
            problems.push_back(describe(*widget) + " is cut off where it stands");
            continue;
        }
        if (!showsText(*widget)) continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            const QSize needed = textSize(*label);
            const QSize has = label->contentsRect().size();
            if (needed.width() > has.width() || needed.height() > has.height())
                problems.push_back(describe(*widget) + sizes(needed, has));
        } else if (widget->sizeHint().width() > widget->width()) {
            problems.push_back(describe(*widget) + sizes(widget->sizeHint(), widget->size()));
        }
    }
    return problems;
}

}  // namespace quillbern::testing
