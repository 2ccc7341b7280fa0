#include "core/shell/HotKeyTargets.h"

namespace quillbern {

void dismissPalette(Palette* palette) {
    if (palette) palette->dismiss();
}

void togglePalette(Palette* palette) {
    if (!palette) return;
    if (palette->isShown()) {
        palette->dismiss();
    } else {
        palette->show();
    }
}

}  // namespace quillbern
