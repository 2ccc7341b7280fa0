#include "core/shortcuts/HotKeyTargets.h"

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

void togglePalette(const HotKeyTargets& targets, PaletteCommand command) {
    switch (command) {
        case PaletteCommand::overview:
            dismissPalette(targets.appSearch);
            dismissPalette(targets.fileSearch);
            togglePalette(targets.overview);
            break;
        case PaletteCommand::appSearch:
            dismissPalette(targets.overview);
            dismissPalette(targets.fileSearch);
            togglePalette(targets.appSearch);
            break;
        case PaletteCommand::fileSearch:
            dismissPalette(targets.overview);
            dismissPalette(targets.appSearch);
            togglePalette(targets.fileSearch);
            break;
        case PaletteCommand::shortcutSheet:
            dismissPalette(targets.overview);
            dismissPalette(targets.appSearch);
            dismissPalette(targets.fileSearch);
            togglePalette(targets.shortcutSheet);
            break;
    }
}

}  // namespace quillbern
