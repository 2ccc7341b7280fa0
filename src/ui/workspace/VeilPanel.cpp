#include "ui/workspace/VeilPanel.h"

#include <QPainter>
#include <QRegion>

#include "ui/foundation/QtX11.h"

namespace quillbern {

namespace {

QRectF toQt(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

QPainterPath rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

}  // namespace

VeilPanel::VeilPanel(const VeilContent& content, QWidget* parent) : QWidget(parent), model_(content.coveredFrame) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRectF VeilPanel::panelRect() const {
    return {0, 0, model_.coveredFrame().width, model_.coveredFrame().height};
}

void VeilPanel::setVeil(const std::optional<RectBL>& hole, double intensity) {
    const VeilModel::Changes changes = model_.update(hole, intensity);
    if (changes.hole) holeMoved();
    if (changes.any()) update();
}

void VeilPanel::holeMoved() {
    dimPath_ = QPainterPath();
    dimPath_.setFillRule(Qt::OddEvenFill);
    dimPath_.addRect(panelRect());
    ringPath_ = QPainterPath();
    QRegion blurred(panelRect().toRect());
    if (const std::optional<Rect>& hole = model_.hole()) {
        const QRectF r = toQt(*hole);
        dimPath_.addRoundedRect(r, kCornerRadius, kCornerRadius);
        ringPath_ = rounded(r, kCornerRadius);
        blurred -= outlineRegion(ringPath_);
    }
    setBlurBehind(*window(), blurred);
    outlineChanged(*this);
}

void VeilPanel::clearEffects() {
    setBlurBehind(*window(), std::nullopt);
}

QPainterPath VeilPanel::outline() const {
    const std::optional<Rect>& hole = model_.hole();
    if (!hole) {
        // Nothing to show: an outline beside the panel covers none of it, where an empty
        // one would uncover it all.
        QPainterPath beside;
        beside.addRect(-4, -4, 2, 2);
        return beside;
    }
    // A band over every pixel the ring touches.
    const QRectF r = toQt(*hole);
    QPainterPath band = rounded(r.adjusted(-1, -1, 1, 1), kCornerRadius + 1);
    band.addPath(rounded(r.adjusted(1, 1, -1, -1), kCornerRadius - 1));
    return band;
}

void VeilPanel::paintEvent(QPaintEvent*) {
    if (model_.intensity() < 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(dimPath_, QColor::fromRgbF(0, 0, 0, static_cast<float>(model_.intensity())));
    if (ringPath_.isEmpty()) return;
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, static_cast<float>(kRingOpacity)), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ringPath_);
}

}  // namespace quillbern
