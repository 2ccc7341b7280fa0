#include "ui/tiles/AuthorizeButton.h"

#include <QPainter>
#include <cmath>

#include "core/tiles/DockMetrics.h"
#include "ui/foundation/QtText.h"
#include "ui/tiles/BarStyle.h"

namespace quillbern {

namespace {

constexpr double kPressedOpacity = 0.6;
constexpr double kUnbounded = 1e6;

}  // namespace

AuthorizeButton::AuthorizeButton(QWidget* parent) : QAbstractButton(parent) {
    setText(localized("Check Window Access"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(
        localized("Running applications are listed once Quillbern has window access, granted while a "
                  "window manager that follows EWMH runs. Start one, then press here to check again."));
}

SymbolLabel AuthorizeButton::label() const {
    return {"lock.shield", text(), barFont(dockbar::kButtonFontSize, QFont::Medium),
            withOpacity(palette().color(QPalette::WindowText), kSecondaryOpacity)};
}

QSizeF AuthorizeButton::sizeFor(double maxWidth) const {
    const double padding = 2 * dockbar::kButtonPadding;
    const QSizeF inner = label().sizeFor(maxWidth - padding);
    return {inner.width() + padding, inner.height() + padding};
}

QSize AuthorizeButton::sizeHint() const {
    const QSizeF size = sizeFor(kUnbounded);
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

void AuthorizeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown()) painter.setOpacity(kPressedOpacity);
    const double padding = dockbar::kButtonPadding;
    label().paint(painter, QRectF(rect()).adjusted(padding, padding, -padding, -padding));
}

}  // namespace quillbern
