#include "ui/settings/HoverRemoveButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr double kSymbolSide = 14;

}  // namespace

HoverRemoveButton::HoverRemoveButton(const QString& help, QWidget* parent) : SettingsIconButton(help, parent) {
    setFixedSize(sizeHint());
}

void HoverRemoveButton::setOpacity(double opacity) {
    if (opacity == opacity_) return;
    opacity_ = opacity;
    update();
}

void HoverRemoveButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void HoverRemoveButton::paintEvent(QPaintEvent*) {
    if (opacity_ <= 0) return;
    QPainter painter(this);
    painter.setOpacity(opacity_);
    const HoverRemoveLook look = hoverRemoveLook(isHovering());
    const QColor ink = SettingsTheme::mix(SettingsTheme::tone(hoverRemoveLook(false).tone, palette()),
                                          SettingsTheme::tone(hoverRemoveLook(true).tone, palette()), hoverFraction());
    const QRectF box(QPointF(width() / 2.0 - kSymbolSide / 2, height() / 2.0 - kSymbolSide / 2),
                     QSizeF(kSymbolSide, kSymbolSide));
    paintSymbol(painter, box, look.symbol, ink);
    paintFocusRing(painter, QRectF(rect()), height() / 2.0);
}

}  // namespace quillbern
