#include "ui/shell/QtSettingsWindow.h"

#include <QVBoxLayout>
#include <QWidget>

#include "core/shell/WindowPlacement.h"
#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsView.h"

namespace quillbern {

QtSettingsWindow::QtSettingsWindow(ShellWindowContext context, const SettingsServices& services)
    : context_(std::move(context)), services_(services) {}

QtSettingsWindow::~QtSettingsWindow() = default;

void QtSettingsWindow::open() {
    if (!window_) make();
    bringForward(*window_);
}

void QtSettingsWindow::make() {
    window_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    window_->setWindowTitle(localized("Quillbern Settings"));
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new SettingsView(services_, window_.get());
    layout->addWidget(view_);
    installWindowKeys(*window_, context_);

    const std::vector<ScreenInfo> screens = context_.screens.screens();
    const PointBL pointer = context_.input.pointerNow();
    std::optional<RectBL> frame = settingsWindowFrame(screens, pointer);
    if (!frame) {
        const QSize own = window_->sizeHint();
        frame = centredWindowFrame(screens, pointer, Size{double(own.width()), double(own.height())});
    }
    if (frame) window_->setGeometry(desktopRect(context_, *frame));
    view_->setFocus();
}

}  // namespace quillbern
