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
    if (!window_) {
        make();
        place(std::nullopt);
    } else if (!window_->isVisible()) {
        // Hidden, it comes back on the display the user works on now.
        const QRect left = window_->geometry();
        place(context_.desktopSpace().toScreen(
            RectTL{double(left.x()), double(left.y()), double(left.width()), double(left.height())}));
    }
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
    view_->setFocus();
}

void QtSettingsWindow::place(const std::optional<RectBL>& left) {
    const std::vector<ScreenInfo> screens = context_.screens.screens();
    const PointBL pointer = context_.input.pointerNow();
    std::optional<RectBL> frame =
        left ? settingsWindowFrame(screens, pointer, *left) : settingsWindowFrame(screens, pointer);
    if (!frame) {
        const QSize own = window_->sizeHint();
        frame = centredWindowFrame(screens, pointer, Size{double(own.width()), double(own.height())});
    }
    if (frame) window_->setGeometry(desktopRect(context_, *frame));
}

}  // namespace quillbern
