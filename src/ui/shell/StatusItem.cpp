#include "ui/shell/StatusItem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "core/shell/StatusMenu.h"
#include "ui/foundation/ShortcutTexts.h"
#include "ui/shell/MenuRows.h"

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

StatusItem::StatusItem(StatusMenu& model) : model_(model) {}

StatusItem::~StatusItem() = default;

bool StatusItem::show() {
    menu_ = std::make_unique<OwnShortcutsMenu>();
    QObject::connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
        fillMenu(*menu_, model_.aboutToOpen(), [this](const MenuRow& row) { model_.perform(row); });
    });
    icon_ = std::make_unique<QSystemTrayIcon>(statusIcon());
    icon_->setToolTip(QStringLiteral("Quillbern"));
    // The tray opens this menu itself on a right click, where it is told of it.
    icon_->setContextMenu(menu_.get());
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
    icon_->show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void StatusItem::activated(int reason) {
    switch (static_cast<QSystemTrayIcon::ActivationReason>(reason)) {
        case QSystemTrayIcon::Trigger:
            if (QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier)) {
                if (model_.click(StatusClick::controlLeft)) menu_->popup(QCursor::pos());
            } else {
                model_.click(StatusClick::left);
            }
            break;
        case QSystemTrayIcon::Context:
            model_.click(StatusClick::right);
            break;
        default:
            break;
    }
}

}  // namespace quillbern
