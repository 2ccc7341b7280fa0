#include "ui/dock/KnockGlintView.h"

#include <QPainter>
#include <QPainterPath>

namespace quillbern {

KnockGlintView::KnockGlintView(const GlintContent& content, QWidget* parent) : QWidget(parent), content_(content) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // A mark of where a dock will come, nothing to read or press.
    setAccessibleName(QString());
}

QPainterPath KnockGlintView::capsule(double grow) const {
    const QRectF box = QRectF(rect());
    const double thickness = kLineWidth + 2 * grow;
    const QRectF line = content_.vertical
                            ? QRectF(box.center().x() - thickness / 2, box.top(), thickness, box.height())
                            : QRectF(box.left(), box.center().y() - thickness / 2, box.width(), thickness);
    QPainterPath path;
    path.addRoundedRect(line, thickness / 2, thickness / 2);
    return path;
}

QPainterPath KnockGlintView::outline() const {
    return capsule(0);
}

void KnockGlintView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor accent = QColor::fromRgbF(float(content_.accent.r), float(content_.accent.g), float(content_.accent.b));
    // The glow: layers that thin out towards its radius.
    constexpr int kLayers = 5;
    for (int i = kLayers; i >= 1; --i) {
        QColor glow = accent;
        glow.setAlphaF(float(kGlowOpacity / (kLayers + 1)));
        painter.setBrush(glow);
        painter.drawPath(capsule(kGlowRadius * i / kLayers));
    }
    painter.setBrush(accent);
    painter.drawPath(capsule(0));
}

}  // namespace quillbern
