#include "ui/settings/SettingsPage.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

#include "core/settings/SettingsControlLooks.h"
#include "ui/settings/SettingsCard.h"

namespace quillbern {

namespace {

constexpr int kCardSpacing = 16;

// Lays its items out in the centred column of a page, and measures heights for that column.
class PageColumnLayout final : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;

    void setGeometry(const QRect& rect) override {
        const PageColumn column = pageColumn(rect.width());
        QVBoxLayout::setGeometry(
            QRect(rect.x() + static_cast<int>(column.x), rect.y(), static_cast<int>(column.width), rect.height()));
    }
    int heightForWidth(int width) const override {
        return QVBoxLayout::heightForWidth(static_cast<int>(pageColumn(width).width));
    }
    QSize sizeHint() const override {
        return QVBoxLayout::sizeHint().boundedTo(QSize(static_cast<int>(kPageMaxWidth), QWIDGETSIZE_MAX));
    }
};

// The column paints the shadows its cards cast, which fall outside each card's own area.
class PageColumnView final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Not findChildren: without a meta-object of its own a card would match any widget.
        for (const QObject* child : children()) {
            const auto* card = dynamic_cast<const SettingsCard*>(child);
            if (card && card->isVisible()) card->paintShadow(painter, card->body().geometry().translated(card->pos()));
        }
    }
};

}  // namespace

SettingsPage::SettingsPage(QWidget* parent)
    : QScrollArea(parent), column_(new PageColumnView), layout_(new PageColumnLayout(column_)) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int padding = static_cast<int>(kPagePadding);
    layout_->setContentsMargins(padding, padding, padding, padding);
    layout_->setSpacing(kCardSpacing);
    layout_->addStretch(1);
    setWidget(column_);
    viewport()->setAutoFillBackground(false);
    column_->setAutoFillBackground(false);
}

SettingsCard* SettingsPage::addCard(SettingsCard* card) {
    addWidget(card);
    return card;
}

void SettingsPage::addWidget(QWidget* widget) {
    // Before the stretch that keeps the cards at the top.
    layout_->insertWidget(layout_->count() - 1, widget);
}

void bringIntoSight(QWidget& widget) {
    for (QWidget* above = widget.parentWidget(); above; above = above->parentWidget()) {
        auto* scroll = qobject_cast<QScrollArea*>(above);
        if (!scroll) continue;
        // Once what changed has been said, and its layouts redone.
        QMetaObject::invokeMethod(
            scroll,
            [scroll, shown = QPointer<QWidget>(&widget)] {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                if (shown && shown->isVisibleTo(scroll)) scroll->ensureWidgetVisible(shown);
            },
            Qt::QueuedConnection);
        return;
    }
}

}  // namespace quillbern
