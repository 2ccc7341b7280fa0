#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>

#include "core/dock/DockViewFactory.h"
#include "core/platform/FrameTicker.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

struct BackgroundPalette;
struct SummonableSlab;

// The launch beacon's row of tiles: each application's icon in a ring that spins while
// it launches (pulses with reduce motion) and closes into a full circle once it arrived.
// What stands still is drawn once into a picture; a frame repaints only the rings that
// move, over it.
class LaunchBeaconView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    // A full turn of the ring while spinning; one way of the pulse with reduce motion.
    static constexpr Duration kTurn = 1.0;
    static constexpr Duration kPulse = 0.9;

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
    // A launching tile's ring at `now`: an arc, or the whole ring pulsing with reduce motion.
    QImage movingRing(MediaTime now, qreal ratio) const;

    BeaconContent content_;
    const Clock& clock_;
    MediaTime shownAt_;
    std::optional<StillLook> stillLook_;
    QPixmap still_;
    FrameTicker ticker_;
};

}  // namespace quillbern
