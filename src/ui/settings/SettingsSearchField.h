#pragma once

#include <QWidget>

#include "ui/settings/SettingsTheme.h"

class QAbstractButton;
class QLineEdit;

namespace quillbern {

// A search field that glows while it has the keyboard: a magnifier, the text and, while
// there is text, a clear button that empties it (taking no focus and submitting nothing).
// Return submits whatever the text, the empty text too; the field filters nothing itself.
class SettingsSearchField final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsSearchField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit& lineEdit() const { return *edit_; }
    QAbstractButton& clearButton() const { return *clear_; }
    bool isFocused() const { return focused_; }

Q_SIGNALS:
    void textChanged(const QString& text);
    void submitted();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followText(const QString& text);

    QLineEdit* edit_;
    QAbstractButton* clear_;
    bool focused_ = false;
    EasedFraction focus_;
    EasedFraction clearShown_;
};

}  // namespace quillbern
