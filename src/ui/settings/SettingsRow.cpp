#include "ui/settings/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kRowSpacing = 12;
constexpr int kRowMinimumHeight = 30;
constexpr int kSymbolSide = 16;
constexpr int kDividerPadding = 6;

}  // namespace

SettingsRowLabel::SettingsRowLabel(const QString& title, std::string_view symbol, QWidget* parent)
    : QWidget(parent), text_(new QLabel(title)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* icon = new QLabel;
    icon->setPixmap(symbolIcon(symbol, SettingsTheme::accent(palette()), kSymbolSide, devicePixelRatioF())
                        .pixmap(kSymbolSide, kSymbolSide));
    icon->setFixedSize(kSymbolSide + 4, kSymbolSide);
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    text_->setTextFormat(Qt::PlainText);
    layout->addWidget(text_);
}

SettingsRow::SettingsRow(QWidget* label, QWidget* control, QWidget* parent)
    : QWidget(parent), label_(label), control_(control) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setMinimumHeight(kRowMinimumHeight);
    if (label_) layout->addWidget(label_, 0, Qt::AlignVCenter);
    layout->addSpacing(kRowSpacing);
    layout->addStretch(1);
    if (control_) layout->addWidget(control_, 0, Qt::AlignVCenter);
}

SettingsRow::SettingsRow(const QString& title, std::string_view symbol, QWidget* control, QWidget* parent)
    : SettingsRow(new SettingsRowLabel(title, symbol), control, parent) {
    if (control_ && control_->accessibleName().isEmpty()) control_->setAccessibleName(title);
}

SettingsRowDivider::SettingsRowDivider(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1 + 2 * kDividerPadding);
}

QSize SettingsRowDivider::sizeHint() const {
    return {0, 1 + 2 * kDividerPadding};
}

void SettingsRowDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(0, kDividerPadding, width(), 1), SettingsTheme::separator(palette()));
}

}  // namespace quillbern
