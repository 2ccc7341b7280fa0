#pragma once

#include <QWidget>

#include "core/foundation/Subscription.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

struct Profile;

// A dock's bar with each pinned item's icon at its place along the edge; stands in for
// the full dock view until that exists. Follows the dock and the look as they change.
class DockBarView final : public QWidget {
    Q_OBJECT
public:
    DockBarView(DockContent content, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintItems(QPainter& painter, const Profile& profile);

    DockContent content_;
    Subscription profilesObserver_;
    Subscription appearanceObserver_;
};

}  // namespace quillbern
