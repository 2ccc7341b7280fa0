#include "ui/workspace/WorkspacePreviewView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>

#include "core/platform/SystemAppearance.h"
#include "core/workspace/WorkspacePreviewHolder.h"

namespace quillbern {

namespace {

double mix(double from, double to, double amount) {
    return from + (to - from) * amount;
}

QFont noticeFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(int(WorkspacePreviewView::kNoticeFontSize));
    font.setWeight(QFont::Medium);
    return font;
}

// A soft shadow of a rounded shape, offset downwards and fading out over `blur`, kept
// outside the shape so a translucent fill above it stays clean.
void paintShadow(QPainter& painter, const QRectF& shape, double radius, double opacity, double blur) {
    if (opacity <= 0) return;
    constexpr int kLayers = 8;
    painter.save();
    QPainterPath outside;
    outside.addRect(shape.adjusted(-2 * blur, -2 * blur, 2 * blur, 2 * blur + WorkspacePreviewView::kShadowOffset));
    outside.addRoundedRect(shape, radius, radius);
    outside.setFillRule(Qt::OddEvenFill);
    painter.setClipPath(outside);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, float(opacity / kLayers)));
    for (int i = kLayers; i >= 1; --i) {
        const double grow = blur * i / kLayers;
        painter.drawRoundedRect(shape.adjusted(-grow, -grow + WorkspacePreviewView::kShadowOffset, grow,
                                               grow + WorkspacePreviewView::kShadowOffset),
                                radius + grow, radius + grow);
    }
    painter.restore();
}

}  // namespace

WorkspacePreviewView::WorkspacePreviewView(const PlacementContent& content, FrameClock& frames, QWidget* parent)
    : QWidget(parent),
      content_(content),
      ticker_(
          frames, [this](MediaTime t) { return isMoving(t); }, [this] { frameDrawn(); }) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // What the holder holds already shows at once.
    const WorkspacePreviewHolder& holder = *content_.holder;
    for (std::size_t i = 0; i < holder.cellFrames().size(); ++i) {
        const Rect& r = holder.cellFrames()[i];
        Cell& cell = cells_.emplace_back(Cell{EasedValue(r.x), EasedValue(r.y), EasedValue(r.width),
                                              EasedValue(r.height), EasedValue(0), EasedValue(1)});
        cell.highlight.set(holder.highlighted() == i ? 1 : 0);
    }
    if (holder.fullNotice()) {
        notice_ = QString::fromStdString(*holder.fullNotice());
        noticePresence_.set(1);
    }
    holderCells_ = cells_.size();
    observer_ = holder.changed.connect([this] { holderChanged(); });
}

MediaTime WorkspacePreviewView::now() const {
    return content_.clock->mediaNow();
}

bool WorkspacePreviewView::canBlend() const {
    return content_.system->hasCompositor();
}

void WorkspacePreviewView::holderChanged() {
    const WorkspacePreviewHolder& holder = *content_.holder;
    const MediaTime t = now();
    const std::vector<Rect>& frames = holder.cellFrames();
    holderCells_ = frames.size();
    for (std::size_t i = 0; i < std::max(frames.size(), cells_.size()); ++i) {
        const bool highlighted = holder.highlighted() == i;
        if (i >= frames.size()) {
            cells_[i].presence.animateTo(0, kChange, t);
            continue;
        }
        const Rect& r = frames[i];
        if (i >= cells_.size()) {
            // A new cell fades in where it stands.
            Cell& cell =
                cells_.emplace_back(Cell{EasedValue(r.x), EasedValue(r.y), EasedValue(r.width), EasedValue(r.height),
                                         EasedValue(highlighted ? 1 : 0), EasedValue(0)});
            cell.presence.animateTo(1, kChange, t);
            continue;
        }
        Cell& cell = cells_[i];
        cell.x.animateTo(r.x, kChange, t);
        cell.y.animateTo(r.y, kChange, t);
        cell.width.animateTo(r.width, kChange, t);
        cell.height.animateTo(r.height, kChange, t);
        cell.highlight.animateTo(highlighted ? 1 : 0, kChange, t);
        cell.presence.animateTo(1, kChange, t);
    }
    // The text stays while the notice fades out.
    if (holder.fullNotice()) notice_ = QString::fromStdString(*holder.fullNotice());
    noticePresence_.animateTo(holder.fullNotice() ? 1 : 0, kChange, t);
    ticker_.kick();
}

bool WorkspacePreviewView::isMoving(MediaTime t) const {
    if (noticePresence_.isMoving(t)) return true;
    return std::ranges::any_of(cells_, [t](const Cell& cell) {
        return cell.x.isMoving(t) || cell.y.isMoving(t) || cell.width.isMoving(t) || cell.height.isMoving(t) ||
               cell.highlight.isMoving(t) || cell.presence.isMoving(t);
    });
}

void WorkspacePreviewView::frameDrawn() {
    const MediaTime t = now();
    // Cells beyond the holder's go once they have faded out.
    while (cells_.size() > holderCells_ && !cells_.back().presence.isMoving(t))
        cells_.pop_back();
    update();
    if (!canBlend()) outlineChanged(*this);
}

std::vector<WorkspacePreviewView::DrawnCell> WorkspacePreviewView::drawnCells() const {
    const MediaTime t = now();
    std::vector<DrawnCell> drawn;
    for (const Cell& cell : cells_) {
        const double opacity = cell.presence.value(t);
        if (opacity <= 0) continue;
        drawn.push_back({QRectF(cell.x.value(t), cell.y.value(t), cell.width.value(t), cell.height.value(t)),
                         cell.highlight.value(t), opacity});
    }
    return drawn;
}

std::optional<WorkspacePreviewView::DrawnNotice> WorkspacePreviewView::drawnNotice() const {
    const double opacity = noticePresence_.value(now());
    if (opacity <= 0 || notice_.isEmpty()) return std::nullopt;
    const QFontMetricsF metrics(noticeFont(font()));
    const QSizeF size(metrics.horizontalAdvance(notice_) + 2 * kNoticePaddingX, metrics.height() + 2 * kNoticePaddingY);
    const QPointF centre = QRectF(rect()).center();
    return DrawnNotice{
        QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height()), notice_,
        opacity};
}

QPainterPath WorkspacePreviewView::ring(const DrawnCell& cell) {
    // Stroked inside the cell's edge.
    const double width = mix(kStrokeWidth, kHighlightedStrokeWidth, cell.highlight);
    const double inset = width / 2;
    QPainterPath edge;
    edge.addRoundedRect(cell.frame.adjusted(inset, inset, -inset, -inset), kCornerRadius - inset,
                        kCornerRadius - inset);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(10);
    // The highlight turns the dashes solid halfway through.
    if (cell.highlight < 0.5) stroker.setDashPattern(QList<qreal>{kDashOn / width, kDashOff / width});
    return stroker.createStroke(edge);
}

QPainterPath WorkspacePreviewView::outline() const {
    QPainterPath shown;
    for (const DrawnCell& cell : drawnCells())
        shown.addPath(ring(cell));
    if (const std::optional<DrawnNotice> notice = drawnNotice()) {
        QPainterPath capsule;
        const double radius = notice->frame.height() / 2;
        capsule.addRoundedRect(notice->frame, radius, radius);
        // United, not added: where the capsule crosses a ring it must not cut a hole.
        shown = shown.isEmpty() ? capsule : shown.united(capsule);
    }
    if (shown.isEmpty()) {
        // Nothing to show: an outline beside the panel covers none of it, where an empty
        // one would uncover it all.
        shown.addRect(-4, -4, 2, 2);
    }
    return shown;
}

void WorkspacePreviewView::paintEvent(QPaintEvent*) {
    const std::vector<DrawnCell> cells = drawnCells();
    const std::optional<DrawnNotice> notice = drawnNotice();
    if (cells.empty() && !notice) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool blends = canBlend();
    const Color a = content_.system->accentColor();
    const auto accent = [&a, blends](double opacity) {
        // Alpha would show as black where nothing blends.
        return QColor::fromRgbF(float(a.r), float(a.g), float(a.b), blends ? float(opacity) : 1.0f);
    };

    for (const DrawnCell& cell : cells) {
        const double h = cell.highlight;
        if (blends) {
            paintShadow(painter, cell.frame, kCornerRadius, kShadowOpacity * h * cell.opacity, kShadowRadius);
            QPainterPath body;
            body.addRoundedRect(cell.frame, kCornerRadius, kCornerRadius);
            painter.fillPath(body, accent(mix(kFillOpacity, kHighlightedFillOpacity, h) * cell.opacity));
        }
        painter.fillPath(ring(cell), accent(mix(kStrokeOpacity, kHighlightedStrokeOpacity, h) * cell.opacity));
    }

    if (!notice) return;
    const double radius = notice->frame.height() / 2;
    const double opacity = blends ? notice->opacity : 1;
    if (blends) paintShadow(painter, notice->frame, radius, kNoticeShadowOpacity * opacity, kNoticeShadowRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, blends ? float(kNoticeOpacity * opacity) : 1.0f));
    painter.drawRoundedRect(notice->frame, radius, radius);
    painter.setOpacity(opacity);
    painter.setPen(Qt::white);
    painter.setFont(noticeFont(font()));
    painter.drawText(notice->frame, Qt::AlignCenter, notice->text);
}

}  // namespace quillbern
