#include "core/settings/PermissionsPaneModel.h"

namespace quillbern {

PermissionsPaneModel::PermissionsPaneModel(WindowEngine& engine, AXPermission& windowAccess)
    : engine_(engine),
      windowAccess_(windowAccess),
      trustChanged_(engine.trustChanged.connect([this] { changed.emit(); })) {}

WindowAccessRow PermissionsPaneModel::windowAccessRow() const {
    return engine_.isTrusted() ? WindowAccessRow::granted : WindowAccessRow::allowButton;
}

void PermissionsPaneModel::askForWindowAccess() {
    // The answer is not needed: the trust is followed through the engine.
    (void)windowAccess_.promptRepairingStaleEntry();
}

}  // namespace quillbern
