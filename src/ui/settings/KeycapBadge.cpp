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
    plain_ = SettingsTheme::tone(SettingsTone::secondary, palette());
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, plain_);
    setPalette(colours);
}

void KeycapBadge::setStruckThrough(bool struck, const QString& description) {
    const QString told = struck ? description : QString();
    if (font().strikeOut() == struck && toolTip() == told) return;
    QFont struckFont = font();
    struckFont.setStrikeOut(struck);
    setFont(struckFont);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, struck ? SettingsTheme::destructive(colours) : plain_);
    setPalette(colours);
    setToolTip(told);
    if (accessibleName() != told) setAccessibleName(told);
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
