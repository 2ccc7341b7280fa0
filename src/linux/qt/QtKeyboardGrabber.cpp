#include "linux/qt/QtKeyboardGrabber.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

namespace quillbern {

namespace {

class QtKeyboardGrab final : public KeyboardGrab {
public:
    explicit QtKeyboardGrab(QWindow* window) : window_(window) {}
    ~QtKeyboardGrab() override {
        // A window gone took its grab with it.
        if (window_) window_->setKeyboardGrabEnabled(false);
    }

private:
    QPointer<QWindow> window_;
};

}  // namespace

std::unique_ptr<KeyboardGrab> QtKeyboardGrabber::grabKeyboard() {
    QWindow* window = QGuiApplication::focusWindow();
    if (!window || !window->setKeyboardGrabEnabled(true)) return nullptr;
    return std::make_unique<QtKeyboardGrab>(window);
}

}  // namespace quillbern
