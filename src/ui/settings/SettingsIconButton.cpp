#include "ui/settings/SettingsIconButton.h"

#include <QPainter>

namespace quillbern {

SettingsIconButton::SettingsIconButton(const QString& help, QWidget* parent)
    : QAbstractButton(parent), hover_(*this, kSettingsHoverAnimation) {
    setToolTip(help);
    setAccessibleName(help);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void SettingsIconButton::paintFocusRing(QPainter& painter, const QRectF& shape, double radius) const {
    if (!hasFocus()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = SettingsTheme::accent(palette());
    ring.setAlphaF(0.8f);
    painter.setPen(QPen(ring, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(shape.adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

void SettingsIconButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hovering_ = true;
    hover_.setOn(true);
}

void SettingsIconButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hovering_ = false;
    hover_.setOn(false);
}

}  // namespace quillbern
