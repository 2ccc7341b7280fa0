#include "ui/model/BackgroundPalette.h"

#include <QGuiApplication>
#include <QPalette>

namespace quillbern {

BackgroundPalette BackgroundPalette::current(bool hasCompositor) {
    const QPalette palette = QGuiApplication::palette();
    QColor separator = palette.color(QPalette::WindowText);
    separator.setAlphaF(0.18f);
    return {palette.color(QPalette::Window), separator, hasCompositor};
}

}  // namespace quillbern
