#include "ui/settings/ListBarButton.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr double kPlateRadius = 6;
constexpr double kSymbolSide = 13;

}  // namespace

ListBarButton::ListBarButton(std::string_view systemName, bool isDestructive, const QString& help, QWidget* parent)
    : SettingsIconButton(help, parent), systemName_(systemName), isDestructive_(isDestructive) {
    setFixedSize(sizeHint());
}

void ListBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const ListBarButtonLook idle = listBarButtonLook(isDestructive_, false, enabled);
    const ListBarButtonLook hovered = listBarButtonLook(isDestructive_, true, enabled);
    const double fraction = hoverFraction();
    const double plate = idle.plateOpacity + (hovered.plateOpacity - idle.plateOpacity) * fraction;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kPlateRadius, kPlateRadius);
    if (plate > 0) painter.fillPath(shape, SettingsTheme::primaryAt(palette(), plate));
    const QColor ink = SettingsTheme::mix(SettingsTheme::tone(idle.icon, palette()),
                                          SettingsTheme::tone(hovered.icon, palette()), fraction);
    const QRectF box(QPointF(width() / 2.0 - kSymbolSide / 2, height() / 2.0 - kSymbolSide / 2),
                     QSizeF(kSymbolSide, kSymbolSide));
    paintSymbol(painter, box, systemName_, ink);
    paintFocusRing(painter, QRectF(rect()), kPlateRadius);
}

}  // namespace quillbern
