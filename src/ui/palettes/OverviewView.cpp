#include "ui/palettes/OverviewView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/platform/SystemAppearance.h"
#include "core/tiles/WindowMenuItems.h"
#include "ui/foundation/ModelMenu.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/model/BarBackground.h"
#include "ui/palettes/PaletteSlabView.h"
#include "ui/palettes/PaletteText.h"
#include "ui/tiles/AuthorizeButton.h"

namespace quillbern {

namespace {

// The slab stands this far inside the view on every side.
constexpr double kCornerRadius = 30;

constexpr double kTile = 120;
constexpr double kTileSpacing = 8;
constexpr double kIconPadding = 12;
constexpr double kRowSide = 24;
constexpr double kRowTop = 20;
constexpr double kNameGap = 6;
constexpr double kNameHeight = 18;
constexpr double kRowBottom = 12;
constexpr double kHighlightRadius = 22;
constexpr double kSelectedOpacity = 0.16;
constexpr double kHoverOpacity = 0.07;
constexpr int kCardPadding = 28;
constexpr int kSlideMs = 150;
constexpr int kScrollMs = 120;
constexpr double kIndicatorHeight = 3;

QFont nameFont() {
    return fontOfSize(13, kHeadingWeight);
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

QLabel* textLabel(const QString& text, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setFont(fontOfSize(12));
    shown->setTextFormat(Qt::PlainText);
    shown->setAlignment(Qt::AlignCenter);
    return shown;
}

}  // namespace

OverviewView::OverviewView(OverviewViewInputs inputs, SystemAppearance& system, QWidget* parent)
    : QWidget(parent), inputs_(std::move(inputs)), system_(system) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);

    card_ = new QWidget(this);
    auto* cardLayout = new QVBoxLayout(card_);
    cardLayout->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    cardLayout->setSpacing(10);
    QLabel* cannotSee = textLabel(localized("Quillbern can't see your windows yet"), card_);
    cannotSee->setObjectName(QStringLiteral("cardText"));
    cardLayout->addWidget(cannotSee, 0, Qt::AlignHCenter);
    accessButton_ = new AuthorizeButton(card_);
    cardLayout->addWidget(accessButton_, 0, Qt::AlignHCenter);
    connect(accessButton_, &QAbstractButton::clicked, this, [this] {
        if (inputs_.askForAccess) inputs_.askForAccess();
    });

    emptyText_ = textLabel(localized("No open apps"), this);
    // A label's own margin: a frame's polish resets the contents margins of every QLabel.
    emptyText_->setMargin(kCardPadding);

    row_ = new OverviewRow(inputs_, this);

    const auto refreshed = [this] { refresh(); };
    watches_.push_back(inputs_.state->entriesChanged.connect(refreshed));
    watches_.push_back(inputs_.engine->trustChanged.connect(refreshed));
    watches_.push_back(inputs_.state->selectionChanged.connect([this] { row_->selectionChanged(); }));
    watches_.push_back(system_.onChanged([this] { update(); }));
    refresh();
}

OverviewView::~OverviewView() = default;

void OverviewView::refresh() {
    const bool trusted = inputs_.engine->isTrusted();
    row_->setEntries(inputs_.state->allEntries());
    const bool hasEntries = !row_->entries().empty();
    card_->setVisible(!trusted);
    emptyText_->setVisible(trusted && !hasEntries);
    row_->setVisible(trusted && hasEntries);
    updateGeometry();
    resizeEvent(nullptr);
    update();
}

QWidget* OverviewView::shownContent() const {
    if (!card_->isHidden()) return card_;
    if (!emptyText_->isHidden()) return emptyText_;
    return row_;
}

QString OverviewView::nameLine() const {
    return row_->isHidden() ? QString() : row_->selectedName();
}

void OverviewView::setScrolls(bool scrolls) {
    row_->setScrolls(scrolls);
    resizeEvent(nullptr);
}

QSize OverviewView::sizeHint() const {
    return shownContent()->sizeHint() + QSize(2 * kPaletteSlabInset, 2 * kPaletteSlabInset);
}

void OverviewView::resizeEvent(QResizeEvent*) {
    // The content at its own size, centred; cut to the view when the view is smaller.
    const QRect room = rect().adjusted(kPaletteSlabInset, kPaletteSlabInset, -kPaletteSlabInset, -kPaletteSlabInset);
    QWidget* content = shownContent();
    const QSize size = content->sizeHint().boundedTo(room.size());
    content->setGeometry(QRect(
        QPoint(room.x() + (room.width() - size.width()) / 2, room.y() + (room.height() - size.height()) / 2), size));
    outlineChanged(*this);
}

SummonableSlab OverviewView::slab() const {
    return {kCornerRadius, system_.reduceTransparency()};
}

QPainterPath OverviewView::outline() const {
    return slab().outline(QRectF(shownContent()->geometry()));
}

void OverviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    slab().paint(painter, QRectF(shownContent()->geometry()), BackgroundPalette::current(system_.hasCompositor()));
}

OverviewRow::OverviewRow(const OverviewViewInputs& inputs, QWidget* parent) : QWidget(parent), inputs_(inputs) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    slide_ = new QVariantAnimation(this);
    slide_->setDuration(kSlideMs);
    slide_->setEasingCurve(QEasingCurve::OutQuad);
    connect(slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        highlight_ = value.toDouble();
        update();
    });
    scroll_ = new QVariantAnimation(this);
    scroll_->setDuration(kScrollMs);
    scroll_->setEasingCurve(QEasingCurve::OutQuad);
    connect(scroll_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setOffset(value.toDouble()); });
}

void OverviewRow::setEntries(std::vector<OverviewEntry> entries) {
    entries_ = std::move(entries);
    hovered_.reset();
    pressed_.reset();
    // A changed list puts the highlight straight on the selection, wherever it stands now.
    slide_->stop();
    if (const auto index = selectedIndex()) highlight_ = double(*index);
    setOffset(offset_);
    updateGeometry();
    update();
}

std::optional<std::size_t> OverviewRow::selectedIndex() const {
    const std::optional<std::string>& id = inputs_.state->selectedID();
    if (!id) return std::nullopt;
    const auto found = std::ranges::find(entries_, *id, &OverviewEntry::id);
    return found == entries_.end() ? std::nullopt : std::optional(std::size_t(found - entries_.begin()));
}

QString OverviewRow::selectedName() const {
    const OverviewEntry* selected = inputs_.state->selectedEntry(entries_);
    return selected ? QString::fromStdString(selected->name) : QString();
}

void OverviewRow::selectionChanged() {
    const auto index = selectedIndex();
    if (index) {
        slide_->stop();
        slide_->setStartValue(highlight_);
        slide_->setEndValue(double(*index));
        slide_->start();
    }
    if (scrolls_ && index) scrollToSelection();
    updateGeometry();
    update();
}

void OverviewRow::setScrolls(bool scrolls) {
    scrolls_ = scrolls;
    setOffset(scrolls ? offset_ : 0);
}

double OverviewRow::naturalRowWidth() const {
    const double n = double(entries_.size());
    return n * kTile + std::max(0.0, n - 1) * kTileSpacing + 2 * kRowSide;
}

QSize OverviewRow::sizeHint() const {
    const double name = QFontMetricsF(nameFont()).horizontalAdvance(selectedName()) + 2 * kRowSide;
    const double width = std::max(naturalRowWidth(), name);
    return {int(std::ceil(width)), int(kRowTop + kTile + kNameGap + kNameHeight + kRowBottom)};
}

double OverviewRow::maxOffset() const {
    return scrolls_ ? std::max(0.0, naturalRowWidth() - width()) : 0.0;
}

double OverviewRow::rowStart() const {
    if (scrolls_) return kRowSide - offset_;
    return (width() - naturalRowWidth()) / 2 + kRowSide;
}

void OverviewRow::setOffset(double offset) {
    offset_ = std::clamp(offset, 0.0, maxOffset());
    update();
}

void OverviewRow::scrollToSelection() {
    const auto index = selectedIndex();
    if (!index) return;
    // Only as far as brings the tile into sight.
    const double left = kRowSide + double(*index) * (kTile + kTileSpacing);
    double target = offset_;
    if (left - kRowSide < target) target = left - kRowSide;
    if (left + kTile + kRowSide > target + width()) target = left + kTile + kRowSide - width();
    target = std::clamp(target, 0.0, maxOffset());
    if (target == offset_) return;
    scroll_->stop();
    scroll_->setStartValue(offset_);
    scroll_->setEndValue(target);
    scroll_->start();
}

QRectF OverviewRow::tileRect(std::size_t index) const {
    return {rowStart() + double(index) * (kTile + kTileSpacing), kRowTop, kTile, kTile};
}

std::optional<std::size_t> OverviewRow::tileAt(QPointF point) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (tileRect(i).contains(point)) return i;
    }
    return std::nullopt;
}

void OverviewRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    const auto selected = selectedIndex();

    painter.setPen(Qt::NoPen);
    if (hovered_ && hovered_ != selected) {
        painter.setBrush(withOpacity(primary, kHoverOpacity));
        painter.drawRoundedRect(tileRect(*hovered_), kHighlightRadius, kHighlightRadius);
    }
    if (selected) {
        const QRectF at = tileRect(0).translated(highlight_ * (kTile + kTileSpacing), 0);
        painter.setBrush(withOpacity(primary, kSelectedOpacity));
        painter.drawRoundedRect(at, kHighlightRadius, kHighlightRadius);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const QRectF box = tileRect(i).adjusted(kIconPadding, kIconPadding, -kIconPadding, -kIconPadding);
        if (box.right() < 0 || box.left() > width()) continue;
        const QIcon icon = qIcon(entries_[i].icon);
        if (icon.isNull()) {
            paintSymbol(painter, box, "app.dashed", QColor());
        } else {
            paintIconFitted(painter, box, icon);
        }
    }

    if (scrolls_ && maxOffset() > 0) {
        // Where the row stands within its whole length.
        const double track = width() - 2 * kRowSide;
        const double length = std::max(kIndicatorHeight * 4, track * width() / naturalRowWidth());
        const double x = kRowSide + (track - length) * offset_ / maxOffset();
        painter.setBrush(withOpacity(primary, 0.3));
        painter.drawRoundedRect(QRectF(x, kRowTop + kTile + 1.5, length, kIndicatorHeight), 1.5, 1.5);
    }

    const QRectF nameBox(kRowSide, kRowTop + kTile + kNameGap, width() - 2 * kRowSide, kNameHeight);
    painter.setFont(nameFont());
    painter.setPen(secondaryColour(palette()));
    const QString name = painter.fontMetrics().elidedText(selectedName(), Qt::ElideRight, int(nameBox.width()));
    painter.drawText(nameBox, Qt::AlignCenter | Qt::TextSingleLine, name);
}

void OverviewRow::mouseMoveEvent(QMouseEvent* event) {
    const auto under = tileAt(event->position());
    if (under != hovered_) {
        hovered_ = under;
        update();
    }
}

void OverviewRow::leaveEvent(QEvent*) {
    hovered_.reset();
    update();
}

void OverviewRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = tileAt(event->position());
}

void OverviewRow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const auto pressed = std::exchange(pressed_, std::nullopt);
    if (!pressed || tileAt(event->position()) != pressed || !inputs_.activate) return;
    // A copy: the raise closes the overview.
    const OverviewEntry entry = entries_[*pressed];
    inputs_.activate(entry);
}

void OverviewRow::wheelEvent(QWheelEvent* event) {
    if (!scrolls_) return;
    const QPoint delta = event->angleDelta();
    const int step = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    scroll_->stop();
    setOffset(offset_ - step / 2.0);
    event->accept();
}

void OverviewRow::contextMenuEvent(QContextMenuEvent* event) {
    const auto under = tileAt(event->pos());
    if (!under) return;
    MenuModel windows;
    windows.append(windowMenuItems(entries_[*under].windows, *inputs_.engine, inputs_.onWindowRaise));
    auto* menu = new ModelMenu(windows, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

bool OverviewRow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const auto under = tileAt(help->pos())) {
            QToolTip::showText(help->globalPos(), toolTipAsWritten(QString::fromStdString(entries_[*under].name)), this,
                               tileRect(*under).toAlignedRect());
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace quillbern
