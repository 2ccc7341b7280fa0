#include "core/palettes/ShortcutSheetController.h"

namespace quillbern {

ShortcutSheetController::ShortcutSheetController(Ports ports, const PinnedStore& pinned, RegisteredProvider registered)
    : ports_(ports.palette),
      pinned_(pinned),
      registered_(std::move(registered)),
      chordText_(ports.layout, ports.text),
      presenter_(ports.palette, PalettePlacement::centred, [this] { dismiss(); }) {}

bool ShortcutSheetController::isShown() const {
    return presenter_.isShown();
}

void ShortcutSheetController::show() {
    expectOnLoop(ports_.mainLoop);
    dismiss();
    const std::optional<ScreenInfo> screen = presenter_.screenForShowing();
    if (!screen) return;
    PanelKeyHandlers keys;
    keys.onCancel = lifetime_.guard([this] { dismiss(); });
    // Every key that reaches the sheet closes it.
    keys.onKey = [this, token = lifetime_.token()](const KeyEvent&) {
        if (!token.isAlive()) return false;
        dismiss();
        return true;
    };
    presenter_.present(*screen, ports_.views.shortcutSheet(rows()), std::move(keys));
}

void ShortcutSheetController::dismiss() {
    expectOnLoop(ports_.mainLoop);
    presenter_.dismiss();
}

std::vector<ShortcutSheetRow> ShortcutSheetController::rows() const {
    return shortcutSheetRows(registered_(), pinned_.profiles(), chordText_);
}

}  // namespace quillbern
