#include "ui/palettes/PaletteSlabView.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "core/platform/SystemAppearance.h"
#include "ui/model/BarBackground.h"

namespace quillbern {

namespace {

constexpr double kCornerRadius = 20;

QRectF slabBounds(const QRect& widget) {
    return QRectF(widget).adjusted(kPaletteSlabInset, kPaletteSlabInset, -kPaletteSlabInset, -kPaletteSlabInset);
}

}  // namespace

PaletteSlabView::PaletteSlabView(SystemAppearance& system, QWidget* parent)
    : QWidget(parent),
      system_(system),
      systemObserver_(system_.onChanged([this] { update(); })),
      content_(new QVBoxLayout(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    content_->setContentsMargins(kPaletteSlabInset, kPaletteSlabInset, kPaletteSlabInset, kPaletteSlabInset);
    content_->setSpacing(0);
}

QPainterPath PaletteSlabView::outline() const {
    return slab().outline(slabBounds(rect()));
}

void PaletteSlabView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    slab().paint(painter, slabBounds(rect()), BackgroundPalette::current(system_.hasCompositor()));
}

SummonableSlab PaletteSlabView::slab() const {
    return {kCornerRadius, system_.reduceTransparency()};
}

}  // namespace quillbern
