#pragma once

#include <QWidget>

#include "ui/settings/SettingsTheme.h"

namespace quillbern {

class HoverRemoveButton;

// The frame of a row of an editable list: the row's content, then a remove button that
// shows while the pointer is over the row or the button has the keyboard. Hidden, the
// button keeps its place and its turn in the Tab order. Assistive tools find the removal
// as an action of the row named by its help, so they need no hovering.
class EditorRowChrome final : public QWidget {
    Q_OBJECT

public:
    EditorRowChrome(const QString& removeHelp, QWidget* leading, QWidget* parent = nullptr);

    const QString& removeHelp() const { return removeHelp_; }
    HoverRemoveButton& removeButton() const { return *remove_; }
    QWidget* leading() const { return leading_; }
    bool isHovering() const { return hovering_; }

    // The remove button was pressed, or the row's accessibility action was done.
    void remove() { Q_EMIT removeRequested(); }

Q_SIGNALS:
    void removeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void applyLook();

    QString removeHelp_;
    QWidget* leading_;
    HoverRemoveButton* remove_;
    bool hovering_ = false;
    EasedFraction hover_;
    EasedFraction focus_;
};

}  // namespace quillbern
