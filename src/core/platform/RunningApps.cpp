#include "core/platform/RunningApps.h"

namespace quillbern {

std::string applicationKey(const RunningApp& app) {
    // Desktop-entry ids hold no colon, so neither of these passes for an identity.
    if (app.appId) return *app.appId;
    if (app.windowClass && !app.windowClass->empty()) return "class:" + *app.windowClass;
    return "pid:" + std::to_string(app.pid);
}

}  // namespace quillbern
