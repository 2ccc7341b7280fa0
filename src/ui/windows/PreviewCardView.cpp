#include "ui/windows/PreviewCardView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "core/platform/SystemAppearance.h"
#include "core/windows/PreviewStore.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/Symbols.h"
#include "ui/model/BackgroundPalette.h"

namespace quillbern {

namespace {

QFont labelFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(10);
    font.setWeight(QFont::Medium);
    return font;
}

}  // namespace

PreviewCardView::PreviewCardView(PreviewContent content, FrameClock& frames, QWidget* parent)
    : QWidget(parent),
      content_(std::move(content)),
      ticker_(
          frames, [this](MediaTime t) { return opacity_.isMoving(t); }, [this] { update(); }) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    shown_ = content_.store->hoveredWindow();
    opacity_.set(shown_ ? 1 : 0);
    observers_.push_back(content_.store->hoveredWindowChanged.connect([this] { hoverChanged(); }));
    // A late capture replaces the icon while the card shows.
    observers_.push_back(content_.store->currentChanged.connect([this] {
        update();
        outlineChanged(*this);
    }));
}

MediaTime PreviewCardView::now() const {
    return content_.clock->mediaNow();
}

void PreviewCardView::hoverChanged() {
    const std::optional<WindowInfo>& hovered = content_.store->hoveredWindow();
    if (hovered) shown_ = hovered;
    opacity_.animateTo(hovered ? 1 : 0, kFade, now());
    ticker_.kick();
    update();
    outlineChanged(*this);
}

std::optional<PreviewCardView::Card> PreviewCardView::card() const {
    if (!shown_) return std::nullopt;
    const WindowInfo& window = *shown_;
    Card card;
    const QRectF bounds(rect());
    const QFontMetricsF metrics(labelFont(font()));
    const double innerWidth = bounds.width() - 2 * kPadding;
    const QString text = QString::fromStdString(window.title.empty() ? window.appName : window.title);
    card.label = metrics.elidedText(text, Qt::ElideMiddle, innerWidth);
    const double labelHeight = metrics.height();
    QSizeF picture(kIconSide, kIconSide);
    double pictureBlock = kIconSide + 2 * kIconMargin;
    // Only a picture of this very window, never one left from the last hover.
    const std::optional<ShownPreview>& current = content_.store->current();
    if (current && current->windowID == window.id && current->image.image) {
        card.isCapture = true;
        card.image = current->image.image;
        const QSizeF available(innerWidth, bounds.height() - kBottomGap - 2 * kPadding - kSpacing - labelHeight);
        const Size size = current->image.pointSize;
        picture = QSizeF(std::max(size.width, 1.0), std::max(size.height, 1.0)).scaled(available, Qt::KeepAspectRatio);
        pictureBlock = picture.height();
    } else {
        card.image = content_.appIcon ? content_.appIcon(window.pid) : nullptr;
    }
    const double contentWidth = std::max(picture.width(), metrics.horizontalAdvance(card.label));
    const double width = std::min(contentWidth, innerWidth) + 2 * kPadding;
    const double height = pictureBlock + kSpacing + labelHeight + 2 * kPadding;
    card.frame = QRectF(bounds.center().x() - width / 2, bounds.bottom() - kBottomGap - height, width, height);
    const double pictureTop = card.frame.top() + kPadding + (card.isCapture ? 0 : kIconMargin);
    card.picture = QRectF(card.frame.center().x() - picture.width() / 2, pictureTop, picture.width(), picture.height());
    return card;
}

QPainterPath PreviewCardView::outline() const {
    QPainterPath path;
    if (const std::optional<Card> shown = card()) path.addRoundedRect(shown->frame, kCornerRadius, kCornerRadius);
    return path;
}

void PreviewCardView::paintEvent(QPaintEvent*) {
    const double opacity = opacity_.value(now());
    const std::optional<Card> shown = card();
    if (!shown || opacity <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity);
    const BackgroundPalette colours = BackgroundPalette::current(content_.system && content_.system->hasCompositor());
    if (colours.canBlend) {
        // A soft shadow, 4 points down, fading out over 12.
        painter.setPen(Qt::NoPen);
        constexpr int kLayers = 6;
        for (int i = kLayers; i >= 1; --i) {
            const double grow = 12.0 * i / kLayers;
            painter.setBrush(QColor(0, 0, 0, int(255 * 0.25 / kLayers)));
            painter.drawRoundedRect(shown->frame.adjusted(-grow, -grow + 4, grow, grow + 4), kCornerRadius + grow,
                                    kCornerRadius + grow);
        }
    }
    QColor fill = colours.window;
    if (colours.canBlend) fill.setAlphaF(0.82f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(shown->frame, kCornerRadius, kCornerRadius);

    const QIcon icon = qIcon(shown->image);
    if (shown->isCapture) {
        painter.save();
        QPainterPath clip;
        clip.addRoundedRect(shown->picture, kPictureCornerRadius, kPictureCornerRadius);
        painter.setClipPath(clip);
        paintIconFitted(painter, shown->picture, icon);
        painter.restore();
    } else if (!icon.isNull()) {
        paintIconFitted(painter, shown->picture, icon);
    } else {
        paintSymbol(painter, shown->picture, "macwindow", palette().color(QPalette::WindowText));
    }

    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.6f);
    painter.setPen(secondary);
    painter.setFont(labelFont(font()));
    const double labelTop = shown->picture.bottom() + (shown->isCapture ? 0 : kIconMargin) + kSpacing;
    painter.drawText(QRectF(shown->frame.left() + kPadding, labelTop, shown->frame.width() - 2 * kPadding,
                            shown->frame.bottom() - kPadding - labelTop),
                     Qt::AlignHCenter | Qt::AlignTop, shown->label);
}

}  // namespace quillbern
