#include "ui/palettes/PaletteText.h"

#include <QLabel>

namespace quillbern {

QColor secondaryColour(const QPalette& palette) {
    QColor text = palette.color(QPalette::WindowText);
    text.setAlphaF(0.55f);
    return text;
}

void makeSecondary(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, secondaryColour(palette));
    widget.setPalette(palette);
}

QLabel* paletteLabel(const QString& text, const QFont& font, bool secondary, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setFont(font);
    shown->setTextFormat(Qt::PlainText);
    if (secondary) makeSecondary(*shown);
    return shown;
}

}  // namespace quillbern
