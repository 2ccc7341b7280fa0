#include "ui/shell/StatusItem.h"

#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "ui/foundation/QtText.h"

namespace quillbern {

namespace {

// A bar with three tiles: the program's mark, drawn so that no image file is needed.
QIcon statusIcon() {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double unit = side / 16.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(235, 235, 240));
        painter.drawRoundedRect(QRectF(1 * unit, 9 * unit, 14 * unit, 5 * unit), 1.5 * unit, 1.5 * unit);
        painter.setBrush(QColor(60, 120, 220));
        for (int i = 0; i < 3; ++i) {
            painter.drawRoundedRect(QRectF((2.5 + i * 4) * unit, 4 * unit, 3 * unit, 3 * unit), unit, unit);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

StatusItem::StatusItem(std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {}

StatusItem::~StatusItem() = default;

bool StatusItem::show() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    menu_ = std::make_unique<QMenu>();
    QObject::connect(menu_->addAction(localized("Quit Quillbern")), &QAction::triggered, this, [this] { onQuit_(); });
    icon_ = std::make_unique<QSystemTrayIcon>(statusIcon());
    icon_->setToolTip(QStringLiteral("Quillbern"));
    icon_->setContextMenu(menu_.get());
    icon_->show();
    return true;
}

bool StatusItem::isVisible() const {
    return icon_ && icon_->isVisible();
}

}  // namespace quillbern
