#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>

#include "core/dock/DockViewFactory.h"
#include "core/platform/FrameTicker.h"
#include "ui/foundation/DirectFrames.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

struct BackgroundPalette;
struct SummonableSlab;

// The launch beacon's row of tiles: each application's icon in a ring that spins while
// it launches (pulses with reduce motion) and closes into a full circle once it arrived.
// What stands still is drawn once into a picture; a frame puts only the rings that move,
// over it, straight into the window.
class LaunchBeaconView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    // A full turn of the ring while spinning; one way of the pulse with reduce motion.
    static constexpr Duration kTurn = 1.0;
    static constexpr Duration kPulse = 0.9;
    // The spinning arc's length, in degrees.
    static constexpr double kArcSpan = 0.3 * 360;
    // The places of the arc in a turn, a frame's turn apart: a turn's frames come again
    // in the next, so they are drawn once.
    static constexpr int kTurnSteps = 60;

    LaunchBeaconView(BeaconContent content, FrameClock& frames, QWidget* parent);

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the picture of the still parts was drawn for.
    struct StillLook {
        QSize size;
        qreal ratio;
        QRgb window, separator, text;
        bool operator==(const StillLook&) const = default;
    };

    SummonableSlab slab() const;
    // The square a tile's icon and ring stand in.
    QRectF ringBox(std::size_t index) const;
    bool anyLaunching() const;
    void redrawMovingRings();
    const QPixmap& still();
    void paintStill(QPainter& painter, const BackgroundPalette& background) const;
    // A launching tile's ring at `now`: an arc, or the whole ring pulsing with reduce motion;
    // only within `drawn` (device pixels of its box) where given.
    QImage movingRing(MediaTime now, qreal ratio, const std::optional<QRect>& drawn = std::nullopt) const;
    // Which of the turn's places the spinning arc stands at at `now`.
    int turnStep(MediaTime now) const;
    // A time the arc stands at a place of the turn.
    MediaTime timeOfStep(int step) const;
    // The boxes of the launching tiles' rings, and their frames as a round of the turn's places.
    QRect launchingArea() const;
    DirectFrames::Round turnRound(qreal ratio) const;
    // Where the spinning arc starts at `now`, in degrees anticlockwise from the right.
    double arcStart(MediaTime now) const;
    // What a frame at `now` changes of a ring box drawn at `before`: around each end of the
    // arc, from where it stood to where it stands; the whole box for the pulse, a first
    // frame, or ends that went far.
    QRegion ringChange(const QRectF& box, std::optional<MediaTime> before, MediaTime now) const;

    BeaconContent content_;
    const Clock& clock_;
    MediaTime shownAt_;
    std::optional<StillLook> stillLook_;
    QPixmap still_;
    DirectFrames direct_;
    // When the rings were last drawn straight into the window.
    std::optional<MediaTime> lastRing_;
    // When the frames queued run short, while a turn's frames are queued.
    std::optional<MediaTime> queuedUntil_;
    FrameTicker ticker_;
};

}  // namespace quillbern
