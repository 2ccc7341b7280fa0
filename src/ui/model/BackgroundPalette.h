#pragma once

#include <QColor>

namespace quillbern {

// The colours and capabilities the dock and slab backgrounds are drawn with.
struct BackgroundPalette {
    QColor window;
    QColor separator;
    // False without a compositing manager: alpha would show as black, so fills are opaque.
    bool canBlend = true;

    // From the application's palette.
    static BackgroundPalette current(bool hasCompositor);
};

}  // namespace quillbern
