#include "ui/settings/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kRowSpacing = 12;
constexpr int kRowMinimumHeight = 30;
constexpr int kSymbolSide = 16;
constexpr int kSymbolSpacing = 8;
constexpr int kStackedSpacing = 6;
constexpr int kDividerPadding = 6;

QLabel* symbolLabel(const QWidget& owner, std::string_view symbol) {
    auto* icon = new QLabel;
    showIconIn(*icon, SettingsTheme::labelSymbol(symbol, owner.palette(), kSymbolSide, owner.devicePixelRatioF()),
               kSymbolSide);
    icon->setFixedSize(kSymbolSide + 4, kSymbolSide);
    icon->setAlignment(Qt::AlignCenter);
    return icon;
}

QLabel* titleLabel(const QString& title) {
    auto* text = new QLabel(title);
    text->setTextFormat(Qt::PlainText);
    // Only where the control stands under it and the title alone is still too wide.
    text->setWordWrap(true);
    return text;
}

// A row's parts: an optional symbol, the label and the control, on one line while all fit at
// their natural widths; else the control under the label (SettingsRow).
class RowLayout final : public QLayout {
public:
    RowLayout(QWidget& row, QWidget* symbol, QWidget* label, QWidget* control) : QLayout(&row) {
        setContentsMargins(0, 0, 0, 0);
        for (QWidget* part : {symbol, label, control}) {
            if (!part) continue;
            addChildWidget(part);
            items_.push_back(new QWidgetItem(part));
        }
        symbol_ = symbol ? items_.front() : nullptr;
        label_ = label ? items_.at(symbol ? 1 : 0) : nullptr;
        control_ = control ? items_.back() : nullptr;
    }
    ~RowLayout() override {
        for (QLayoutItem* item : items_)
            delete item;
    }

    // Its parts are given when it is made.
    void addItem(QLayoutItem*) override {}
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override {
        return index >= 0 && index < count() ? items_.at(std::size_t(index)) : nullptr;
    }
    QLayoutItem* takeAt(int index) override {
        if (index < 0 || index >= count()) return nullptr;
        QLayoutItem* item = items_.at(std::size_t(index));
        items_.erase(items_.begin() + index);
        for (QLayoutItem** part : {&symbol_, &label_, &control_})
            if (*part == item) *part = nullptr;
        return item;
    }

    QSize sizeHint() const override {
        const QSize control = controlSize();
        return {labelOffset() + labelWidth() + (control.isEmpty() ? 0 : kRowSpacing + control.width()),
                std::max({kRowMinimumHeight, labelHeight(labelWidth()), control.height()})};
    }
    QSize minimumSize() const override {
        const int label = label_ && !label_->isEmpty() ? labelOffset() + label_->minimumSize().width() : 0;
        const QSize control = control_ && !control_->isEmpty() ? control_->minimumSize() : QSize();
        return {std::max(label, control.width()), kRowMinimumHeight};
    }
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        if (fitsOnOneLine(width)) return sizeHint().height();
        const QSize control = controlSize();
        return std::max(kRowMinimumHeight, labelHeight(width - labelOffset())) +
               (control.isEmpty() ? 0 : kStackedSpacing + control.height());
    }

    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        const QSize control = controlSize();
        const bool oneLine = fitsOnOneLine(rect.width());
        const int labelRoom = oneLine ? labelWidth() : rect.width() - labelOffset();
        const int labelLine = oneLine ? rect.height() : std::max(kRowMinimumHeight, labelHeight(labelRoom));
        const int labelTall = std::min(labelHeight(labelRoom), labelLine);
        const int labelTop = rect.y() + (labelLine - labelTall) / 2;
        if (label_) label_->setGeometry(QRect(rect.x() + labelOffset(), labelTop, labelRoom, labelTall));
        if (symbol_) {
            // Beside the title's first line.
            const QSize side = symbol_->sizeHint();
            const int line = std::min(firstLineHeight(), labelTall);
            symbol_->setGeometry(QRect(rect.x(), labelTop + (line - side.height()) / 2, side.width(), side.height()));
        }
        if (control_ && !control.isEmpty()) {
            const int width = std::min(control.width(), rect.width());
            const int top =
                oneLine ? rect.y() + (rect.height() - control.height()) / 2 : rect.y() + labelLine + kStackedSpacing;
            control_->setGeometry(QRect(rect.right() + 1 - width, top, width, control.height()));
        }
    }

private:
    int labelOffset() const { return symbol_ ? symbol_->sizeHint().width() + kSymbolSpacing : 0; }
    // The label's width on one line: a title's whole text, not the wrapping width Qt would
    // suggest for it.
    int labelWidth() const {
        if (!label_ || label_->isEmpty()) return 0;
        if (const auto* title = qobject_cast<const QLabel*>(label_->widget()); title && title->wordWrap()) {
            const QMargins margins = title->contentsMargins();
            const QRect unbounded(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            return title->fontMetrics().boundingRect(unbounded, int(title->alignment()), title->text()).width() +
                   margins.left() + margins.right() + 2 * title->margin();
        }
        return label_->sizeHint().width();
    }
    int labelHeight(int width) const {
        if (!label_ || label_->isEmpty()) return 0;
        return label_->hasHeightForWidth() ? label_->heightForWidth(width) : label_->sizeHint().height();
    }
    int firstLineHeight() const { return label_ ? label_->widget()->fontMetrics().height() : kRowMinimumHeight; }
    QSize controlSize() const {
        if (!control_ || control_->isEmpty()) return {};
        return control_->sizeHint().expandedTo(control_->minimumSize()).boundedTo(control_->maximumSize());
    }
    bool fitsOnOneLine(int width) const { return sizeHint().width() <= width; }

    std::vector<QLayoutItem*> items_;
    QLayoutItem* symbol_ = nullptr;
    QLayoutItem* label_ = nullptr;
    QLayoutItem* control_ = nullptr;
};

}  // namespace

SettingsRowLabel::SettingsRowLabel(const QString& title, std::string_view symbol, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(symbolLabel(*this, symbol), 0, Qt::AlignVCenter);
    layout->addSpacing(kSymbolSpacing);
    text_ = new QLabel(title);
    text_->setTextFormat(Qt::PlainText);
    layout->addWidget(text_, 0, Qt::AlignVCenter);
}

SettingsRow::SettingsRow(QWidget* label, QWidget* control, QWidget* parent)
    : QWidget(parent), label_(label), control_(control) {
    new RowLayout(*this, nullptr, label_, control_);
}

SettingsRow::SettingsRow(const QString& title, std::string_view symbol, QWidget* control, QWidget* parent)
    : QWidget(parent), control_(control) {
    // The title stands beside its control, not in a widget of its own: Qt tells assistive
    // tools that a label names a control only when the two share a parent, and on Linux a
    // picker is known by no other name (its own is its choice).
    QLabel* text = titleLabel(title);
    label_ = text;
    new RowLayout(*this, symbolLabel(*this, symbol), text, control_);
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
