#include "core/platform/OpenDocument.h"

#include "core/foundation/Log.h"
#include "core/foundation/Utf8.h"

namespace quillbern {

void openDocument(Launcher& launcher, Alerts& alerts, const Path& path) {
    if (launcher.open(path)) return;
    log("no application opens ", escapedForLog(replacingInvalidUtf8(path)));
    alerts.beep();
}

}  // namespace quillbern
