#pragma once

#include <QWidget>

#include "core/dock/DockViewFactory.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

// The glint of an armed knock: a 3-point line in the accent colour running the panel's
// length, centred across it, with a glow of the same colour around it. Without a
// compositing manager the panel is cut to the line, since the glow would show black.
class KnockGlintView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    static constexpr double kLineWidth = 3;
    static constexpr double kGlowRadius = 5;
    static constexpr double kGlowOpacity = 0.85;

    KnockGlintView(const GlintContent& content, QWidget* parent);

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The line's capsule, grown by `grow` on every side.
    QPainterPath capsule(double grow) const;

    GlintContent content_;
};

}  // namespace quillbern
