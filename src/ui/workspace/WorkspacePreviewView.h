#pragma once

#include <QPainterPath>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "core/workspace/WorkspaceViewFactory.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

// The ghost grid of a placement overlay, drawn from its holder: rounded cells in the
// accent colour, the one a drop would take filled more strongly, ringed solid and lifted by
// a shadow, the others faint and dashed; over them, centred on the panel, the notice of a
// full workspace on a dark capsule. Cells move, appear and go, the highlight passes and the
// notice comes and goes over a short ease-out; nothing is drawn while the holder does not
// change. Without a compositing manager the panel is cut to the cells' rings and the
// notice, drawn opaque, so the screen around them stays visible.
class WorkspacePreviewView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    static constexpr Animation kChange{0.12, AnimationCurve::easeOut};
    static constexpr double kCornerRadius = 14;
    static constexpr double kFillOpacity = 0.05;
    static constexpr double kHighlightedFillOpacity = 0.16;
    static constexpr double kStrokeOpacity = 0.3;
    static constexpr double kHighlightedStrokeOpacity = 0.75;
    static constexpr double kStrokeWidth = 1.5;
    static constexpr double kHighlightedStrokeWidth = 2.5;
    static constexpr double kDashOn = 7;
    static constexpr double kDashOff = 5;
    static constexpr double kShadowOpacity = 0.22;
    static constexpr double kShadowRadius = 20;
    static constexpr double kShadowOffset = 4;
    static constexpr double kNoticeFontSize = 13;
    static constexpr double kNoticePaddingX = 16;
    static constexpr double kNoticePaddingY = 10;
    static constexpr double kNoticeOpacity = 0.72;
    static constexpr double kNoticeShadowOpacity = 0.35;
    static constexpr double kNoticeShadowRadius = 16;

    WorkspacePreviewView(const PlacementContent& content, FrameClock& frames, QWidget* parent);

    // What is drawn at this moment, in the view's coordinates.
    struct DrawnCell {
        QRectF frame;
        // 0 plain, 1 highlighted; in between while the highlight passes.
        double highlight = 0;
        // 0 to 1 while the cell comes or goes.
        double opacity = 1;
    };
    std::vector<DrawnCell> drawnCells() const;
    // The notice's capsule and its opacity; none once it has gone.
    struct DrawnNotice {
        QRectF frame;
        QString text;
        double opacity = 1;
    };
    std::optional<DrawnNotice> drawnNotice() const;

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Cell {
        EasedValue x, y, width, height;
        EasedValue highlight;
        EasedValue presence;
    };

    void holderChanged();
    void frameDrawn();
    bool isMoving(MediaTime now) const;
    MediaTime now() const;
    bool canBlend() const;
    static QPainterPath ring(const DrawnCell& cell);

    PlacementContent content_;
    // Beyond the holder's cells come the ones fading out. The holder is read only when it
    // tells of a change: a closed panel's view may outlive it until Qt deletes it.
    std::vector<Cell> cells_;
    std::size_t holderCells_ = 0;
    QString notice_;
    EasedValue noticePresence_;
    FrameTicker ticker_;
    Subscription observer_;
};

}  // namespace quillbern
