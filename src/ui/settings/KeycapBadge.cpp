#include "ui/settings/KeycapBadge.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kCornerRadius = 6;
constexpr double kEdgeOpacity = 0.3;

}  // namespace

KeycapBadge::KeycapBadge(const QString& chord, QWidget* parent) : QLabel(chord, parent) {
    setTextFormat(Qt::PlainText);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    setFont(font);
    // The lower edge takes one more point below the text's padding.
    setContentsMargins(7, 3, 7, 4);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
    setPalette(colours);
}

void KeycapBadge::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF key = QRectF(rect()).adjusted(0, 0, 0, -1);
        QPainterPath edge;
        edge.addRoundedRect(key.translated(0, 1), kCornerRadius, kCornerRadius);
        painter.fillPath(edge, QColor(0, 0, 0, static_cast<int>(255 * kEdgeOpacity)));
        QPainterPath face;
        face.addRoundedRect(key, kCornerRadius, kCornerRadius);
        painter.fillPath(face, SettingsTheme::thickMaterial(palette()));
        painter.setPen(QPen(SettingsTheme::separator(palette()), 1));
        painter.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius - 0.5, kCornerRadius - 0.5);
    }
    QLabel::paintEvent(event);
}

}  // namespace quillbern
