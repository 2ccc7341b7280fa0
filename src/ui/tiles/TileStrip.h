#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Subscription.h"
#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "core/tiles/EdgeFade.h"
#include "ui/foundation/DirectFrames.h"
#include "ui/tiles/TileCell.h"

namespace quillbern {

// The scrolling strip of a dock: its pinned tiles, then, after a separator, the running
// applications' tiles, along the dock's axis. When the tiles do not fit they scroll (with
// the wheel) and, once the overflow holds, both ends of the strip fade out. Tiles are
// drawn at fractional positions and keep their state across changes by their keys. A
// tile acts when a click on it is released over it, tells when the pointer comes and
// goes, shows its tooltip and asks for its menu; to accessibility each tile is a button.
class TileStrip final : public QWidget {
    Q_OBJECT
public:
    static constexpr Animation kFadeAnimation{0.15, AnimationCurve::easeOut};
    // The share of the scroll area's length over which each end fades.
    static constexpr double kFadeShare = 0.04;

    TileStrip(FrameClock& frames, QWidget* parent);
    ~TileStrip() override;

    void setLook(const TileLook& look, bool vertical);
    // Tiles whose keys are already shown keep their state and take the new content.
    void setTiles(std::vector<TileContent> pinned, bool separator, std::vector<TileContent> running);

    // The strip's length along the dock's axis; the widget's own length is the scroll area's.
    double stripSpan() const;
    double scrollOffset() const { return offset_; }
    bool showsFade() const { return fade_.showsFade(); }
    // The tiles' boxes and the separator's line, in widget coordinates, as drawn now.
    std::vector<QRectF> tileFrames() const;
    std::optional<QRectF> separatorFrame() const;
    const std::vector<std::unique_ptr<TileCell>>& cells() const { return cells_; }
    // How many cells are pinned tiles; the running applications' follow them.
    std::size_t pinnedCount() const { return pinnedCount_; }
    // The cell under a point in widget coordinates.
    std::optional<std::size_t> cellAt(const QPointF& point) const;
    // The cell the pointer is over.
    std::optional<std::size_t> hoveredCell() const;

    // A tile's menu is wanted at a point on the screen.
    std::function<void(std::size_t cell, QPoint global)> onMenuRequest;
    // A pinned tile pressed and pulled beyond the drag distance is to be dragged.
    std::function<void(std::size_t cell)> onDragStart;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The pressed tile's drag, a turn after the move that asked for it, while it is pressed.
    void startDrag(const std::string& key);
    double along() const;
    double cross() const;
    double cellLength() const;
    // The along-axis position where the strip starts, scrolled.
    double stripStart() const;
    QPointF cellOrigin(std::size_t index) const;
    QRectF cellBox(std::size_t index) const;
    // Where the tile may draw: its box, with room for a bounce, and for its name badge when
    // `badge` (a hovered tile's name floats over its neighbours as far as its room goes).
    QRectF drawnArea(std::size_t index, bool badge) const;
    bool mayShowBadge(std::size_t index) const;
    // Where a tile's icon stands at rest, and where it may stand while it bounces.
    QRectF restingIcon(std::size_t index) const;
    QRect bounceArea(std::size_t index) const;
    // What a tile whose bounce alone moves shows of a frame: nothing while its icon stays on
    // the same pixels, else the frame put straight into the window where it can be.
    QRegion redrawBounce(std::size_t index, MediaTime before, MediaTime now);
    // A bounce's frames come round at each swing: queued on the server where they can be,
    // each of the icon's places a look. The time to queue more, if queued.
    std::optional<MediaTime> queueBounce(std::size_t index, MediaTime now);
    // Whether another tile, hovered, or a fading end is drawn over a bouncing tile's area.
    bool isBounceDrawnOver(std::size_t index, MediaTime now) const;
    // How wide the tile's name badge may be, centred on it inside the strip.
    double badgeRoom(std::size_t index) const;
    void measure();
    void setOffset(double offset);
    void hoverAt(std::optional<QPointF> point);
    bool isMoving(MediaTime now) const;
    MediaTime nextChange(MediaTime now) const;
    // Repaints what changed since the last frame and what moves in this one; the ticker
    // calls it at most once a frame.
    void redrawFrame();
    // What a new set of tiles changes on screen, given the keys shown before, where the
    // strip started and the cells whose content looks different.
    QRegion changedArea(const std::vector<std::string>& keysBefore, double startBefore, std::size_t pinnedBefore,
                        bool separatorBefore, const std::vector<std::size_t>& restyled) const;
    // The strip's length split into the ends that fade and the middle between them.
    struct Bands {
        QRect start;
        QRect middle;
        QRect end;
    };
    Bands bands() const;
    std::optional<std::size_t> cellWithKey(const std::optional<std::string>& key) const;
    // The cells and the separator that meet `visible`.
    void paintStrip(QPainter& painter, const QRectF& visible, MediaTime now) const;
    void paintFadingEnd(QPainter& painter, const QRect& end, double mask, MediaTime now) const;
    void applyFadeMask(QPainter& painter, double progress) const;
    // What the fade takes away at its full strength, one device pixel across.
    const QImage& fadeEnds() const;

    RunLoop& loop_;
    const Clock& clock_;
    TileLook look_;
    bool vertical_ = false;
    std::vector<std::unique_ptr<TileCell>> cells_;
    std::size_t pinnedCount_ = 0;
    bool separator_ = false;
    double offset_ = 0;
    // By key: the cells may change while the pointer stays.
    std::optional<std::string> pressed_;
    QPointF pressedAt_;
    std::optional<std::string> hovered_;
    EdgeFade fade_;
    EasedValue fadeMask_;
    DirectFrames direct_;
    mutable QImage fadeEnds_;
    // Changed since the last frame, still to repaint.
    QRegion dirty_;
    std::optional<MediaTime> lastFrame_;
    // The tile whose bounce the server shows, queued, and when to queue more.
    std::optional<std::size_t> queuedCell_;
    std::optional<MediaTime> queuedUntil_;
    FrameTicker ticker_;
    Subscription fadeObserver_;
    // The time of the move that asked for a drag, until the drag starts or the press ends.
    std::optional<std::uint64_t> dragAsked_;
    Lifetime lifetime_;
};

}  // namespace quillbern
