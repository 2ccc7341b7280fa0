#pragma once

#include <QWidget>

class QVBoxLayout;

#include "core/foundation/Subscription.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

class SystemAppearance;
struct SummonableSlab;

// A palette draws its slab inside its widget, this far from every edge, leaving room for
// the shadow where a compositor draws one.
inline constexpr int kPaletteSlabInset = 4;

// The view of a palette whose slab fills it but for the inset: the slab's outline and its
// painting, which follow the system's appearance. The search palettes and the shortcut
// sheet are such views; their content stands in a column inside the inset.
class PaletteSlabView : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    QPainterPath outline() const override;

protected:
    PaletteSlabView(SystemAppearance& system, QWidget* parent);
    // The column of the content, its parts without spacing between them.
    QVBoxLayout* content() const { return content_; }
    void paintEvent(QPaintEvent* event) override;

private:
    SummonableSlab slab() const;

    SystemAppearance& system_;
    Subscription systemObserver_;
    QVBoxLayout* content_;
};

}  // namespace quillbern
