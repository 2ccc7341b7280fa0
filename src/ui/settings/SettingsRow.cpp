#include "ui/settings/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kRowSpacing = 12;
constexpr int kRowMinimumHeight = 30;
constexpr int kSymbolSide = 16;
constexpr int kDividerPadding = 6;

// The symbol, then the title, added to a layout; returns the title.
QLabel* addSymbolAndTitle(QHBoxLayout& layout, const QWidget& owner, const QString& title, std::string_view symbol) {
    auto* icon = new QLabel;
    icon->setPixmap(SettingsTheme::labelSymbol(symbol, owner.palette(), kSymbolSide, owner.devicePixelRatioF())
                        .pixmap(kSymbolSide, kSymbolSide));
    icon->setFixedSize(kSymbolSide + 4, kSymbolSide);
    icon->setAlignment(Qt::AlignCenter);
    layout.addWidget(icon, 0, Qt::AlignVCenter);
    layout.addSpacing(8);
    auto* text = new QLabel(title);
    text->setTextFormat(Qt::PlainText);
    layout.addWidget(text, 0, Qt::AlignVCenter);
    return text;
}

QHBoxLayout* rowLayout(QWidget& row) {
    auto* layout = new QHBoxLayout(&row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    row.setMinimumHeight(kRowMinimumHeight);
    return layout;
}

void addControl(QHBoxLayout& layout, QWidget* control) {
    layout.addSpacing(kRowSpacing);
    layout.addStretch(1);
    if (control) layout.addWidget(control, 0, Qt::AlignVCenter);
}

}  // namespace

SettingsRowLabel::SettingsRowLabel(const QString& title, std::string_view symbol, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    text_ = addSymbolAndTitle(*layout, *this, title, symbol);
}

SettingsRow::SettingsRow(QWidget* label, QWidget* control, QWidget* parent)
    : QWidget(parent), label_(label), control_(control) {
    auto* layout = rowLayout(*this);
    if (label_) layout->addWidget(label_, 0, Qt::AlignVCenter);
    addControl(*layout, control_);
}

SettingsRow::SettingsRow(const QString& title, std::string_view symbol, QWidget* control, QWidget* parent)
    : QWidget(parent), control_(control) {
    auto* layout = rowLayout(*this);
    // The title stands beside its control, not in a widget of its own: Qt tells assistive
    // tools that a label names a control only when the two share a parent, and on Linux a
    // picker is known by no other name (its own is its choice).
    QLabel* text = addSymbolAndTitle(*layout, *this, title, symbol);
    label_ = text;
    addControl(*layout, control_);
    if (!control_) return;
    text->setBuddy(control_);
    if (control_->accessibleName().isEmpty()) control_->setAccessibleName(title);
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
