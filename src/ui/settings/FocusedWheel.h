#pragma once

#include <QObject>

class QWidget;

namespace quillbern {

// In the window it watches, a control that changes its value under the wheel (a picker, a
// stepper, a slider, tabs) takes the wheel only while it has the keyboard focus; otherwise the
// wheel scrolls what lies under it, as if the control were not there, so scrolling a page never
// changes a setting on the way. It looks at each wheel event before Qt hands it to a widget,
// which also keeps the wheel from giving such a control the focus.
class FocusedWheel final : public QObject {
public:
    explicit FocusedWheel(QWidget& root);

    // Watches the native window of the root's window, which exists once it has been shown.
    void watchWindow();

    static bool changesValueUnderWheel(const QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& root_;
};

}  // namespace quillbern
