#pragma once

#include <QWidget>

#include "core/foundation/Subscription.h"
#include "core/settings/PermissionsPaneModel.h"

class QPushButton;

namespace quillbern {

// The Permissions pane: whether window access is granted, and while it is not, a button that
// asks for it again. Follows its model in place.
class PermissionsPane final : public QWidget {
public:
    PermissionsPane(WindowEngine& engine, AXPermission& windowAccess, QWidget* parent = nullptr);
    ~PermissionsPane() override;

    // "Granted" with its check mark.
    QWidget& granted() const { return *granted_; }
    QPushButton& allow() const { return *allow_; }

private:
    void sync();

    PermissionsPaneModel model_;
    QWidget* granted_;
    QPushButton* allow_;
    Subscription modelChanged_;
};

}  // namespace quillbern
