#pragma once

#include <QObject>
#include <memory>

#include "core/shell/ShellParts.h"

class QMenu;
class QSystemTrayIcon;

namespace quillbern {

class StatusMenu;

// The program's icon in the desktop's tray. A left click opens Settings; a right click or
// a Ctrl-click opens the status menu, described afresh each time it opens. Without a tray
// the icon waits for one to appear.
class StatusItem final : public QObject, public TrayItem {
    Q_OBJECT
public:
    explicit StatusItem(StatusMenu& model);
    ~StatusItem() override;

    bool show() override;
    QMenu& menu() { return *menu_; }
    QSystemTrayIcon& icon() { return *icon_; }

private:
    void activated(int reason);

    StatusMenu& model_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace quillbern
