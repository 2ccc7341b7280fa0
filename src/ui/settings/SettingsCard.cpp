#include "ui/settings/SettingsCard.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kCornerRadius = 12;
constexpr int kBodyPadding = 14;
constexpr int kTitleSpacing = 8;
constexpr double kShadowOpacity = 0.1;
constexpr int kShadowBlur = 8;
constexpr int kShadowOffsetY = 2;

QPainterPath roundedShape(const QRectF& rect, double radius) {
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    return shape;
}

// The body's material, with its hairline border stroked inside the shape.
class CardBody final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(roundedShape(rect(), kCornerRadius), SettingsTheme::thinMaterial(palette()));
        painter.setPen(QPen(SettingsTheme::separator(palette()), 1));
        painter.drawPath(roundedShape(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius - 0.5));
    }
};

}  // namespace

SettingsCard::SettingsCard(const QString& title, QWidget* parent)
    : QWidget(parent), body_(new CardBody), bodyLayout_(new QVBoxLayout(body_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kTitleSpacing);
    if (!title.isEmpty()) {
        title_ = new QLabel(title);
        title_->setFont(fontOfSize(12, kHeadingWeight));
        QPalette colours = title_->palette();
        colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
        title_->setPalette(colours);
        title_->setContentsMargins(4, 0, 0, 0);
        layout->addWidget(title_);
    }
    bodyLayout_->setContentsMargins(kBodyPadding, kBodyPadding, kBodyPadding, kBodyPadding);
    bodyLayout_->setSpacing(0);
    layout->addWidget(body_);
}

SettingsRow* SettingsCard::addRow(SettingsRow* row) {
    addWidget(row);
    return row;
}

void SettingsCard::addDivider() {
    addWidget(new SettingsRowDivider);
}

SettingsCaption* SettingsCard::addCaption(const QString& text) {
    auto* caption = new SettingsCaption(text);
    addWidget(caption);
    return caption;
}

void SettingsCard::addToBody(QWidget* widget) {
    bodyLayout_->addWidget(widget);
}

void SettingsCard::paintShadow(QPainter& painter, const QRect& bodyRect) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(bodyRect);
    // Nothing under the translucent body itself.
    QPainterPath outside;
    outside.addRect(
        body.adjusted(-2 * kShadowBlur, -2 * kShadowBlur, 2 * kShadowBlur, 2 * kShadowBlur + kShadowOffsetY));
    outside = outside.subtracted(roundedShape(body, kCornerRadius));
    painter.setClipPath(outside);
    painter.setPen(Qt::NoPen);
    // Layers that widen as they fade stand for the blur.
    const QRectF cast = body.translated(0, kShadowOffsetY);
    for (int step = kShadowBlur; step >= 1; --step) {
        const double spread = step;
        QColor shade(0, 0, 0);
        shade.setAlphaF(static_cast<float>(kShadowOpacity * 2 / kShadowBlur * (1.0 - (step - 1.0) / kShadowBlur)));
        painter.setBrush(shade);
        painter.drawPath(
            roundedShape(cast.adjusted(-spread / 2, -spread / 2, spread / 2, spread / 2), kCornerRadius + spread / 2));
    }
    painter.restore();
}

}  // namespace quillbern
