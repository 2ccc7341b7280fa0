#include "ui/settings/SettingsSwitch.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/settings/SettingsAccessible.h"

namespace quillbern {

namespace {

constexpr Duration kKnobAnimation = 0.15;
constexpr double kKnobInset = 2;

}  // namespace

SettingsSwitch::SettingsSwitch(QWidget* parent) : QAbstractButton(parent), knob_(*this, kKnobAnimation) {
    installSettingsAccessibility();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

void SettingsSwitch::checkStateSet() {
    QAbstractButton::checkStateSet();
    knob_.setOn(isChecked());
}

void SettingsSwitch::nextCheckState() {
    QAbstractButton::nextCheckState();
    knob_.setOn(isChecked());
}

void SettingsSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(0.45);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double radius = track.height() / 2;
    const double on = knob_.value();
    QPainterPath trackShape;
    trackShape.addRoundedRect(track, radius, radius);
    painter.fillPath(trackShape, SettingsTheme::mix(SettingsTheme::primaryAt(palette(), 0.18),
                                                    SettingsTheme::switchTint(palette()), on));
    const double side = track.height() - 2 * kKnobInset;
    const double left = track.left() + kKnobInset + on * (track.width() - side - 2 * kKnobInset);
    const QRectF knob(left, track.top() + kKnobInset, side, side);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(knob);
    if (hasFocus()) {
        QColor ring = SettingsTheme::accent(palette());
        ring.setAlphaF(0.8f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
    }
}

}  // namespace quillbern
