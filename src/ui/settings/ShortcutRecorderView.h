#pragma once

#include <QWidget>
#include <memory>

#include "core/foundation/Signal.h"
#include "core/platform/KeyboardLayout.h"
#include "core/shortcuts/ShortcutRecorder.h"

class QLabel;
class QToolButton;

namespace quillbern {

// The shortcut recorder on screen: a rounded field showing the chord (struck through in red
// when it is not registered, "None" without one), which a click, Space or Return turns into
// a listening field that takes the next key chord, and the way back to the default beside it
// when the user chose the chord. Keys are read by their place on the keyboard, with Super as
// Command. Assistive tools see a button named by its host (the row's action), the chord as
// its description and a press that starts listening. It owns the recorder it shows, so the
// two go together.
class ShortcutRecorderView final : public QWidget {
    Q_OBJECT

public:
    ShortcutRecorderView(std::unique_ptr<ShortcutRecorder> recorder, const KeyboardLayout& layout,
                         QWidget* parent = nullptr);
    ~ShortcutRecorderView() override;

    ShortcutRecorder& recorder() const { return *recorder_; }
    // What the field shows: the chord, "None" or "Press the keys…".
    QString shownText() const;
    QToolButton& resetButton() const { return *reset_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void sync();
    KeyEvent keyEventOf(const QKeyEvent& event) const;

    // Destroyed after the subscription to it, so going away tells nobody.
    std::unique_ptr<ShortcutRecorder> recorder_;
    const KeyboardLayout& layout_;
    QLabel* text_;
    QToolButton* reset_;
    bool hovering_ = false;
    Subscription changed_;
};

}  // namespace quillbern
