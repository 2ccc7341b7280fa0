#pragma once

#include <QWidget>

#include "core/foundation/Subscription.h"
#include "core/platform/PanelHost.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

struct BarBackground;
struct Profile;

// A dock's bar with each pinned item's icon at its place along the edge; stands in for
// the full dock view until that exists. Follows the dock and the look as they change.
class DockBarView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    DockBarView(DockContent content, QWidget* parent);

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintItems(QPainter& painter, const Profile& profile);
    BarBackground background() const;

    DockContent content_;
    Subscription profilesObserver_;
    Subscription appearanceObserver_;
    Subscription systemObserver_;
};

}  // namespace quillbern
