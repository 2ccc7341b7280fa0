#pragma once

#include <QWidget>

#include "core/dock/DockViewFactory.h"
#include "ui/foundation/OutlinedView.h"

class QVariantAnimation;

namespace quillbern {

struct SummonableSlab;

// The launch beacon's row of tiles: each application's icon in a ring that spins while
// it launches (pulses with reduce motion) and closes into a full circle once it arrived.
class LaunchBeaconView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    LaunchBeaconView(BeaconContent content, QWidget* parent);

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SummonableSlab slab() const;
    void paintTile(QPainter& painter, const BeaconTileContent& tile, const QRectF& ringBox);

    BeaconContent content_;
    QVariantAnimation* motion_;
};

}  // namespace quillbern
