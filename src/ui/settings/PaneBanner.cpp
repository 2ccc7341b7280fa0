#include "ui/settings/PaneBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kPadding = 12;
constexpr int kSpacing = 8;
constexpr int kSymbolSide = 14;
constexpr double kCalloutSize = 12;
constexpr double kSmallButtonSize = 11;
constexpr double kWashOpacity = 0.08;

}  // namespace

PaneBanner::PaneBanner(std::string_view symbol, SettingsTone symbolTone, SettingsTone wash, Qt::Alignment alignment,
                       QWidget* parent)
    : QWidget(parent), text_(new QLabel), layout_(new QHBoxLayout(this)), wash_(wash), alignment_(alignment) {
    // The divider under the banner is its last point.
    layout_->setContentsMargins(kPadding, kPadding, kPadding, kPadding + 1);
    layout_->setSpacing(kSpacing);
    auto* mark = new QLabel;
    mark->setFixedSize(kSymbolSide, kSymbolSide);
    showIconIn(*mark, symbolIcon(symbol, SettingsTheme::tone(symbolTone, palette()), kSymbolSide, devicePixelRatioF()),
               kSymbolSide);
    layout_->addWidget(mark, 0, alignment_);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setFont(fontOfSize(kCalloutSize));
    text_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout_->addWidget(text_, 1, alignment_);
    layout_->addSpacing(kSpacing);
}

void PaneBanner::setText(const QString& text) {
    text_->setText(text);
}

QString PaneBanner::text() const {
    return text_->text();
}

QPushButton* PaneBanner::addButton(const QString& title) {
    auto* button = new QPushButton(title);
    button->setFont(fontOfSize(kSmallButtonSize));
    layout_->addWidget(button, 0, alignment_);
    buttons_.push_back(button);
    return button;
}

void PaneBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor wash = SettingsTheme::tone(wash_, palette());
    wash.setAlphaF(float(kWashOpacity));
    painter.fillRect(rect().adjusted(0, 0, 0, -1), wash);
    painter.fillRect(QRect(0, height() - 1, width(), 1), SettingsTheme::separator(palette()));
}

}  // namespace quillbern
