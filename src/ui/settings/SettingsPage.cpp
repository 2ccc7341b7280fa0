#include "ui/settings/SettingsPage.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
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

const char* const kKeeperName = "keptInSight";

// Keeps what a scroll area last brought into sight in sight while the area shrinks (a
// narrower window wraps the texts above it, a lower one cuts the view), as long as it was
// in sight before: a widget the user scrolled away from stays where it is.
class KeptInSight final : public QObject {
public:
    explicit KeptInSight(QScrollArea& scroll) : QObject(&scroll), scroll_(scroll) {
        setObjectName(kKeeperName);
        scroll.viewport()->installEventFilter(this);
        QObject::connect(scroll.verticalScrollBar(), &QScrollBar::valueChanged, this,
                         [this] { inSight_ = isInSight(); });
    }

    static KeptInSight& of(QScrollArea& scroll) {
        // By name: without a meta-object of its own, a search by type would match any object.
        QObject* keeper = scroll.findChild<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly);
        return keeper ? *static_cast<KeptInSight*>(keeper) : *new KeptInSight(scroll);
    }

    // Once the layouts are redone: a note that just appeared has its place only then.
    void bring(QWidget& widget) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // Where nothing showed, what was brought before is still kept.
        if (!widget.isVisibleTo(&scroll_)) return;
        widget_ = &widget;
        scroll_.ensureWidgetVisible(&widget);
        inSight_ = isInSight();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Resize || !widget_) return false;
        QMetaObject::invokeMethod(
            this,
            [this, wasInSight = inSight_] {
                if (wasInSight && widget_) bring(*widget_);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool isInSight() const {
        if (!widget_ || !widget_->isVisibleTo(&scroll_)) return false;
        const QWidget& view = *scroll_.viewport();
        return view.rect().contains(QRect(widget_->mapTo(&view, QPoint()), widget_->size()));
    }

    QScrollArea& scroll_;
    QPointer<QWidget> widget_;
    bool inSight_ = false;
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
                if (shown) KeptInSight::of(*scroll).bring(*shown);
            },
            Qt::QueuedConnection);
        return;
    }
}

}  // namespace quillbern
