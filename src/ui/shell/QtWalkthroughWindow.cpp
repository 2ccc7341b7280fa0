#include "ui/shell/QtWalkthroughWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>

#include "core/shell/WindowPlacement.h"
#include "ui/foundation/QtText.h"

namespace quillbern {

namespace {

constexpr int kWidth = 460;
constexpr int kMinimumHeight = 380;

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

// The walkthrough's first page; the steps that follow it come with the walkthrough itself.
void addWelcome(QVBoxLayout& layout) {
    auto* title = new QLabel(localized("Welcome to Quillbern"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setWeight(QFont::DemiBold);
    title->setFont(font);
    title->setAlignment(Qt::AlignHCenter);
    auto* text =
        new QLabel(localized("**Quillbern gives every screen its own dock** — your apps, your folders, where "
                             "you want them, on as many docks as you like."));
    text->setTextFormat(Qt::MarkdownText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter);
    text->setContentsMargins(24, 0, 24, 0);
    layout.addSpacing(28);
    layout.addWidget(title);
    layout.addWidget(text);
    layout.addStretch(1);
}

}  // namespace

QtWalkthroughWindow::QtWalkthroughWindow(ShellWindowContext context) : context_(std::move(context)) {}

QtWalkthroughWindow::~QtWalkthroughWindow() = default;

void QtWalkthroughWindow::present() {
    if (!window_) make();
    bringForward(*window_);
}

void QtWalkthroughWindow::make() {
    window_ = std::make_unique<WalkthroughFrame>([this] { closed(); });
    window_->setWindowTitle(localized("Welcome"));
    auto* layout = new QVBoxLayout(window_.get());
    layout->setSpacing(12);
    addWelcome(*layout);
    installWindowKeys(*window_, context_);
    window_->setFixedWidth(kWidth);
    window_->setMinimumHeight(kMinimumHeight);
    const QSize size = window_->sizeHint().expandedTo(QSize(kWidth, kMinimumHeight));
    const std::optional<RectBL> frame = centredWindowFrame(context_.screens.screens(), context_.input.pointer(),
                                                           Size{double(kWidth), double(size.height())});
    if (frame) window_->setGeometry(desktopRect(context_, *frame));
}

void QtWalkthroughWindow::closed() {
    // Closed from inside its own handlers: hidden now, deleted once they are done.
    window_.release()->deleteLater();
    if (onClosed) onClosed();
}

}  // namespace quillbern
