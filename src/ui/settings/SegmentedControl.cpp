#include "ui/settings/SegmentedControl.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsAccessible.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kTrackRadius = 7;
constexpr double kSegmentRadius = 5;
constexpr int kTrackInset = 2;
constexpr double kTextSize = 12;

}  // namespace

SegmentButton::SegmentButton(const QString& title, QWidget* parent) : QAbstractButton(parent) {
    installSettingsAccessibility();
    setText(title);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(fontOfSize(kTextSize));
}

QSize SegmentButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 24, metrics.height() + 8};
}

void SegmentButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isChecked()) {
        QPainterPath plate;
        plate.addRoundedRect(shape, kSegmentRadius, kSegmentRadius);
        painter.fillPath(plate, palette().color(QPalette::Base));
        painter.setPen(QPen(SettingsTheme::separator(palette()), 1));
        painter.drawPath(plate);
    }
    if (hasFocus()) {
        QColor ring = SettingsTheme::accent(palette());
        ring.setAlphaF(0.8f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(shape.adjusted(0.5, 0.5, -0.5, -0.5), kSegmentRadius, kSegmentRadius);
    }
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                               : SettingsTheme::tone(SettingsTone::tertiary, palette()));
    QFont font = this->font();
    if (isChecked()) font.setWeight(QFont::Medium);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

SegmentedControl::SegmentedControl(const QStringList& titles, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kTrackInset, kTrackInset, kTrackInset, kTrackInset);
    layout->setSpacing(2);
    group_->setExclusive(true);
    for (const QString& title : titles) {
        auto* segment = new SegmentButton(title);
        group_->addButton(segment, static_cast<int>(segments_.size()));
        segments_.push_back(segment);
        layout->addWidget(segment);
    }
    if (!segments_.empty()) segments_.front()->setChecked(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedControl::activated);
}

int SegmentedControl::currentIndex() const {
    return group_->checkedId();
}

void SegmentedControl::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) return;
    segments_[static_cast<std::size_t>(index)]->setChecked(true);
    // Qt moves the group's Tab stop only when a segment takes the focus; a choice made by
    // the program moves it too, so Tab lands on what is chosen.
    for (SegmentButton* segment : segments_)
        segment->setFocusPolicy(segment->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void SegmentedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()), kTrackRadius, kTrackRadius);
    painter.fillPath(track, SettingsTheme::primaryAt(palette(), 0.07));
}

}  // namespace quillbern
