#include "ui/foundation/QtAlerts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace quillbern {

namespace {

QMessageBox::Icon iconOf(AlertSpec::Style style) {
    switch (style) {
        case AlertSpec::Style::info:
            return QMessageBox::Information;
        case AlertSpec::Style::warning:
            return QMessageBox::Warning;
        case AlertSpec::Style::critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::Warning;
}

}  // namespace

void QtAlerts::beep() {
    QApplication::beep();
}

std::size_t QtAlerts::runModal(const AlertSpec& alert) {
    QMessageBox box;
    box.setIcon(iconOf(alert.style));
    box.setText(QString::fromStdString(alert.message));
    box.setInformativeText(QString::fromStdString(alert.informative));
    std::vector<QAbstractButton*> buttons;
    for (const std::string& title : alert.buttons) {
        const QMessageBox::ButtonRole role = buttons.empty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons.push_back(box.addButton(QString::fromStdString(title), role));
    }
    if (!buttons.empty()) box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (alert.floating) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i]) return i;
    }
    return buttons.empty() ? 0 : buttons.size() - 1;
}

}  // namespace quillbern
