#include "core/dock/PinnedStoreLaunches.h"

namespace quillbern {

bool PinnedStoreLaunches::isLaunching(const std::string& appId) const {
    return pinned_.launchingBundleIDs().contains(appId);
}

ImageHandle PinnedStoreLaunches::icon(const PinnedApp& app) const {
    return pinned_.icon(app);
}

Subscription PinnedStoreLaunches::onLaunchingChanged(Task task) {
    return pinned_.launchingChanged.connect(std::move(task));
}

}  // namespace quillbern
