#include "core/model/ApplicationKey.h"

namespace quillbern {

std::string applicationKey(const RunningApp& app, const PinnedStore& store) {
    const auto owner = store.ownerBundleIDByPID().find(app.pid);
    return owner != store.ownerBundleIDByPID().end() ? owner->second : applicationKey(app);
}

}  // namespace quillbern
