#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "core/shell/ShellParts.h"

class QMenu;
class QSystemTrayIcon;

namespace quillbern {

// The program's icon in the desktop's tray, with its menu. Without a tray it shows
// nothing and the program stays reachable through its shortcuts and Settings.
class StatusItem final : public QObject, public StatusMenu {
    Q_OBJECT
public:
    explicit StatusItem(std::function<void()> onQuit);
    ~StatusItem() override;

    bool show() override;
    bool isVisible() const;

private:
    std::function<void()> onQuit_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace quillbern
