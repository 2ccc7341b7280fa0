#pragma once

#include <QPainterPath>
#include <QWidget>
#include <optional>

#include "core/workspace/VeilModel.h"
#include "core/workspace/WorkspaceViewFactory.h"
#include "ui/foundation/OutlinedView.h"
#include "ui/foundation/VeilView.h"

namespace quillbern {

// The view of a veil panel: black at the veil's intensity over the whole panel but a hole
// rounded at 12 points, which a thin white ring outlines; the window system blurs what
// lies behind the dimmed part where its compositor can. Changes show at once, and an
// update that changes nothing draws nothing. Without a compositing manager the panel is
// cut to the ring.
class VeilPanel final : public QWidget, public OutlinedView, public VeilView {
    Q_OBJECT
public:
    static constexpr double kCornerRadius = 12;
    static constexpr double kRingOpacity = 0.18;
    static constexpr double kRingWidth = 1;

    VeilPanel(const VeilContent& content, QWidget* parent);

    void setVeil(const std::optional<RectBL>& hole, double intensity) override;
    void clearEffects() override;
    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void holeMoved();
    QRectF panelRect() const;

    VeilModel model_;
    // The whole panel with the hole cut out, by the even-odd rule.
    QPainterPath dimPath_;
    // Empty without a hole.
    QPainterPath ringPath_;
};

}  // namespace quillbern
