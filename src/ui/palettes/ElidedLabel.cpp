#include "ui/palettes/ElidedLabel.h"

#include <QPainter>

namespace quillbern {

ElidedLabel::ElidedLabel(QString text, QWidget* parent, Qt::TextElideMode mode)
    : QWidget(parent), text_(std::move(text)), mode_(mode) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text_);
}

QString ElidedLabel::shownText() const {
    // Qt's eliding measures a little wider than the advance the size hint gives.
    if (fontMetrics().horizontalAdvance(text_) <= width()) return text_;
    return fontMetrics().elidedText(text_, mode_, width());
}

QSize ElidedLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text_), fontMetrics().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")), fontMetrics().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

}  // namespace quillbern
