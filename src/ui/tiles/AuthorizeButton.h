#pragma once

#include <QAbstractButton>

#include "ui/tiles/SymbolLabel.h"

namespace quillbern {

// "Check Window Access": a plain button in the bar's secondary style that asks for window
// access, so the dock can list its display's running applications.
class AuthorizeButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit AuthorizeButton(QWidget* parent);

    // Its size when at most `maxWidth` wide; the text wraps below one line's width.
    QSizeF sizeFor(double maxWidth) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SymbolLabel label() const;
};

}  // namespace quillbern
