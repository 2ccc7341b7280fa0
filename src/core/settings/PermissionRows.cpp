#include "core/settings/PermissionRows.h"

#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

bool showsCaptureWarning(const PreviewStore& previews) {
    return previews.isEnabled() && !previews.isGranted();
}

WindowAccessRow windowAccessRow(const WindowEngine& engine) {
    return engine.isTrusted() ? WindowAccessRow::granted : WindowAccessRow::allowButton;
}

}  // namespace quillbern
