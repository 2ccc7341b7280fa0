#include "ui/shell/QtWalkthroughWindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>

#include "core/shell/WindowPlacement.h"
#include "ui/foundation/QtText.h"
#include "ui/shell/WalkthroughView.h"

namespace quillbern {

namespace {

class WalkthroughFrame final : public QWidget {
public:
    explicit WalkthroughFrame(std::function<void()> closed)
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                               Qt::WindowStaysOnTopHint),
          closed_(std::move(closed)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        QWidget::closeEvent(event);
        if (event->isAccepted()) closed_();
    }

private:
    std::function<void()> closed_;
};

}  // namespace

QtWalkthroughWindow::QtWalkthroughWindow(ShellWindowContext context, Walkthrough::Services services)
    : context_(std::move(context)), services_(services) {}

QtWalkthroughWindow::~QtWalkthroughWindow() = default;

void QtWalkthroughWindow::present() {
    if (!window_) make();
    bringForward(*window_);
}

void QtWalkthroughWindow::make() {
    window_ = std::make_unique<WalkthroughFrame>([this] { closed(); });
    window_->setWindowTitle(localized("Welcome"));
    walkthrough_ = std::make_unique<Walkthrough>(services_, [this] {
        if (window_) window_->close();
    });
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new WalkthroughView(*walkthrough_));
    installWindowKeys(*window_, context_);
    // As tall as its tallest step, so the navigation row stays where it is.
    window_->setFixedSize(window_->sizeHint());
    const QSize size = window_->size();
    const std::optional<RectBL> frame = centredWindowFrame(context_.screens.screens(), context_.input.pointerNow(),
                                                           Size{double(size.width()), double(size.height())});
    if (frame) window_->setGeometry(desktopRect(context_, *frame));
}

void QtWalkthroughWindow::closed() {
    // Closed from inside its own handlers: hidden now, deleted once they are done, and its
    // walkthrough with it.
    QWidget* window = window_.release();
    QObject::connect(window, &QObject::destroyed, [walkthrough = walkthrough_.release()] { delete walkthrough; });
    window->deleteLater();
    if (onClosed) onClosed();
}

}  // namespace quillbern
